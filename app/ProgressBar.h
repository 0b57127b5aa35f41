#pragma once

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

    // Draws "[####------] done/total label" over the previous drawing.
    void show(qsizetype done, const QString& label);
    // Erases the bar, before other output takes its line.
    void clear();

private:
    qsizetype total_;
    bool visible_;
    QTextStream err_;
};

}  // namespace dorvanel::cli
