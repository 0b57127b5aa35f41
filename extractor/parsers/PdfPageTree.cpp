#include "parsers/PdfPageTree.h"

#include <QHash>
#include <QList>
#include <optional>
#include <utility>

namespace dorvanel::extractor {

namespace {

using Kids = QHash<int, QList<int>>;

// How far from a node's /Kids its object header and the array's end are looked for: a node of the
// page tree is a small dictionary.
constexpr qsizetype Reach = 64 * 1024;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0'; }

// The number of the object whose "N G obj" header comes last in the text; none when the last such
// keyword is an "endobj" (what follows is outside any object).
std::optional<int> lastObjectNumber(QByteArrayView text) {
    qsizetype at = text.lastIndexOf("obj");
    if (at < 0 || (at >= 3 && text.sliced(at - 3, 3) == "end")) return std::nullopt;
    const auto skip = [&](auto accepted) {
        const qsizetype start = at;
        while (at > 0 && accepted(text.at(at - 1))) --at;
        return start - at;
    };
    skip(isBlank);
    if (skip(isDigit) == 0) return std::nullopt;  // generation
    skip(isBlank);
    const qsizetype end = at;
    if (skip(isDigit) == 0) return std::nullopt;
    bool valid = false;
    const int number = text.sliced(at, end - at).toInt(&valid);
    return valid ? std::optional<int>(number) : std::nullopt;
}

// The object numbers of the references "N G R" in an array's text.
QList<int> references(QByteArrayView array) {
    QList<int> numbers;
    const QList<QByteArray> words = array.toByteArray().simplified().split(' ');
    for (qsizetype index = 2; index < words.size(); ++index) {
        bool numbered = false;
        const int number = words[index - 2].toInt(&numbered);
        if (words[index] == "R" && numbered) numbers.append(number);
    }
    return numbers;
}

// Each node's kids. Every look, backwards for the header or forwards for the array's end, starts
// where the previous one ended, so that no byte is looked at twice and a file full of /Kids costs
// its size, not its size squared.
Kids pageTree(const QByteArray& pdf) {
    const QByteArrayView bytes(pdf);
    Kids kids;
    qsizetype looked = 0;
    for (qsizetype at = bytes.indexOf("/Kids"); at >= 0; at = bytes.indexOf("/Kids", looked)) {
        const qsizetype from = qMax(looked, at - Reach);
        const std::optional<int> owner = lastObjectNumber(bytes.sliced(from, at - from));
        qsizetype array = at + 5;
        while (array < bytes.size() && isBlank(bytes.at(array))) ++array;
        looked = array;
        if (array == bytes.size() || bytes.at(array) != '[') continue;
        const QByteArrayView window = bytes.sliced(array + 1, qMin(Reach, bytes.size() - array - 1));
        const qsizetype end = window.indexOf(']');
        looked = array + 1 + (end < 0 ? window.size() : end);
        // A later definition (an incremental update) replaces an earlier one.
        if (owner && end >= 0) kids[*owner] = references(window.first(end));
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
