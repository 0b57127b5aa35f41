#pragma once

#include <QList>
#include <QString>
#include <QTextStream>

namespace dorvanel::cli {

// A one-line progress bar on standard error, drawn only when that is a terminal so that
// redirected output stays clean.
class ProgressBar {
public:
    explicit ProgressBar(qsizetype total);
    ~ProgressBar() { clear(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Draws "[####------] item/total label" over the previous drawing: item counts from 1, the
    // last one shows total/total.
    void show(qsizetype item, const QString& label);
    // Erases the bar, before other output takes its line.
    void clear();

private:
    qsizetype total_;
    bool visible_;
    QTextStream err_;
};

// Runs each on every item with the bar drawn, labelled label(item) and counting it, while it runs, so that what
// each prints has the line to itself.
template <typename Item, typename Label, typename Each>
void forEachShown(const QList<Item>& items, const Label& label, const Each& each) {
    ProgressBar progress(items.size());
    for (qsizetype i = 0; i < items.size(); ++i) {
        progress.show(i + 1, label(items[i]));
        each(items[i]);
        progress.clear();
    }
}

}  // namespace dorvanel::cli
