#include "ProgressBar.h"

#include <cstdio>
#include <unistd.h>

namespace dorvanel::cli {

namespace {

constexpr qsizetype BarWidth = 30;
constexpr qsizetype LabelWidth = 40;
// Back to the start of the line and erase it.
const QString EraseLine = QStringLiteral("\r\033[K");

QString barFor(qsizetype done, qsizetype total) {
    const qsizetype filled = total > 0 ? done * BarWidth / total : BarWidth;
    return QString(filled, QLatin1Char('#')) + QString(BarWidth - filled, QLatin1Char('-'));
}

}  // namespace

ProgressBar::ProgressBar(qsizetype total) : total_(total), visible_(isatty(STDERR_FILENO) != 0), err_(stderr) {}

void ProgressBar::show(qsizetype item, const QString& label) {
    if (!visible_) return;
    err_ << EraseLine << '[' << barFor(item, total_) << "] " << item << '/' << total_ << ' ' << label.left(LabelWidth);
    err_.flush();
}

void ProgressBar::clear() {
    if (!visible_) return;
    err_ << EraseLine;
    err_.flush();
}

}  // namespace dorvanel::cli
