#include "parsers/PdfPageTree.h"

#include <QHash>
#include <QList>
#include <optional>
#include <utility>

namespace dorvanel::extractor {

namespace {

using Kids = QHash<int, QList<int>>;

// How far from a node's /Kids its object header and the array's end are looked for: a node of the
// page tree is a small dictionary, and a bound keeps a file full of /Kids from costing its size
// squared.
constexpr qsizetype Reach = 64 * 1024;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0'; }

// The number of the object whose "N G obj" header comes last before offset; none when the last
// such keyword before it is an "endobj" (the offset is outside any object).
std::optional<int> ownerBefore(const QByteArray& pdf, qsizetype offset) {
    const qsizetype from = qMax<qsizetype>(0, offset - Reach);
    const qsizetype found = QByteArrayView(pdf).sliced(from, offset - from).lastIndexOf("obj");
    if (found < 0) return std::nullopt;
    qsizetype at = from + found;
    if (at >= 3 && pdf.sliced(at - 3, 3) == "end") return std::nullopt;
    const auto skip = [&](auto accepted) {
        const qsizetype start = at;
        while (at > 0 && accepted(pdf.at(at - 1))) --at;
        return start - at;
    };
    skip(isBlank);
    if (skip(isDigit) == 0) return std::nullopt;  // generation
    skip(isBlank);
    const qsizetype end = at;
    if (skip(isDigit) == 0) return std::nullopt;
    bool valid = false;
    const int number = pdf.sliced(at, end - at).toInt(&valid);
    return valid ? std::optional<int>(number) : std::nullopt;
}

// The object numbers of the references "N G R" in the array that starts at offset.
QList<int> referencesIn(const QByteArray& pdf, qsizetype offset) {
    const qsizetype length = QByteArrayView(pdf).sliced(offset, qMin(Reach, pdf.size() - offset)).indexOf(']');
    if (length < 0) return {};
    QList<int> references;
    const QList<QByteArray> words = pdf.sliced(offset, length).simplified().split(' ');
    for (qsizetype index = 2; index < words.size(); ++index) {
        bool numbered = false;
        const int number = words[index - 2].toInt(&numbered);
        if (words[index] == "R" && numbered) references.append(number);
    }
    return references;
}

Kids pageTree(const QByteArray& pdf) {
    Kids kids;
    for (qsizetype at = pdf.indexOf("/Kids"); at >= 0; at = pdf.indexOf("/Kids", at + 1)) {
        qsizetype array = at + 5;
        while (array < pdf.size() && isBlank(pdf.at(array))) ++array;
        if (array >= pdf.size() || pdf.at(array) != '[') continue;
        // A later definition (an incremental update) replaces an earlier one.
        if (const std::optional<int> owner = ownerBefore(pdf, at)) kids[*owner] = referencesIn(pdf, array + 1);
    }
    return kids;
}

// Depth first, without recursion: a damaged file may nest its tree as deep as it likes.
bool hasCycle(const Kids& kids) {
    enum class Mark { Open, Done };
    QHash<int, Mark> marks;
    for (auto root = kids.keyBegin(); root != kids.keyEnd(); ++root) {
        if (marks.contains(*root)) continue;
        QList<std::pair<int, qsizetype>> path{{*root, 0}};
        marks.insert(*root, Mark::Open);
        while (!path.isEmpty()) {
            auto& [node, next] = path.last();
            const QList<int> children = kids.value(node);
            if (next == children.size()) {
                marks.insert(node, Mark::Done);
                path.removeLast();
                continue;
            }
            const int child = children.at(next++);
            if (marks.value(child, Mark::Done) == Mark::Open) return true;
            if (marks.contains(child) || !kids.contains(child)) continue;
            marks.insert(child, Mark::Open);
            path.append({child, 0});
        }
    }
    return false;
}

}  // namespace

bool pageTreeLoops(const QByteArray& pdf) { return hasCycle(pageTree(pdf)); }

}  // namespace dorvanel::extractor
