#include "ListingOutput.h"

#include "TerminalText.h"
#include "Texts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <span>
#include <string>

namespace dorvanel::cli {

namespace {

constexpr std::size_t ColumnGap = 2;
constexpr std::size_t MostColumns = 10;
using Cells = std::array<QByteArrayView, MostColumns>;
using Widths = std::array<qsizetype, MostColumns>;
using Digits = std::array<char, 24>;

// The headings, translated as the table is written; the columns' own names stay as they are.
constexpr std::array<const char*, MostColumns> Headings{"Sys_PK",
                                                        QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "Nombre"),
                                                        QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "Tipo"),
                                                        QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "Descripción"),
                                                        QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "Palabras clave"),
                                                        QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "Creado"),
                                                        QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "Tamaño"),
                                                        QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "Externo"),
                                                        "Sys_GUID",
                                                        "Sis"};

// The table's words in the user's language, as UTF-8: made once a table, not once a row.
class TableWords {
public:
    TableWords() {
        for (std::size_t column = 0; column < MostColumns; ++column)
            headings_[column] = Texts::tr(Headings[column]).toUtf8();
    }
    Cells header() const {
        Cells cells;
        for (std::size_t column = 0; column < MostColumns; ++column) cells[column] = headings_[column];
        return cells;
    }
    QByteArrayView yesOrNo(bool value) const { return value ? yes_ : no_; }

private:
    std::array<QByteArray, MostColumns> headings_;
    QByteArray yes_ = Texts::tr("sí").toUtf8();
    QByteArray no_ = Texts::tr("no").toUtf8();
};

// Text is built in a std::string: its small appends cost a copy and little else.
void append(std::string& out, QByteArrayView text) { out.append(text.data(), std::size_t(text.size())); }

// Text to write, handed on whenever a piece is full, and at the end.
class Pieces {
public:
    explicit Pieces(const TextWriter& write) : write_(write) { text.reserve(PieceSize + PieceSize / 4); }

    void lineDone() {
        if (text.size() < PieceSize) return;
        write_(text);
        text.clear();
    }
    void finish() const {
        if (!text.empty()) write_(text);
    }

    std::string text;

private:
    static constexpr std::size_t PieceSize = 64 * 1024;
    const TextWriter& write_;
};

QByteArrayView digitsOf(qint64 value, Digits& digits) {
    const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    return QByteArrayView(digits.data(), end - digits.data());
}

// A document's cells in the header's order. The numbers' digits live in the object, which
// therefore stays where it was made.
class RowCells {
public:
    RowCells(const ListedDocument& row, bool withSis, const TableWords& words)
        : cells_{digitsOf(row.pk, pkDigits_),
                 row.name,
                 row.type,
                 row.description,
                 row.keywords,
                 row.created,
                 row.size ? digitsOf(*row.size, sizeDigits_) : QByteArrayView(),
                 words.yesOrNo(row.outside),
                 row.guid,
                 words.yesOrNo(row.sis)},
          count_(withSis ? MostColumns : MostColumns - 1) {}
    RowCells(const RowCells&) = delete;
    RowCells& operator=(const RowCells&) = delete;

    std::span<const QByteArrayView> cells() const { return std::span(cells_).first(count_); }

private:
    Digits pkDigits_;
    Digits sizeDigits_;
    Cells cells_;
    std::size_t count_;
};

void widen(Widths& widths, std::span<const QByteArrayView> cells) {
    for (std::size_t column = 0; column < cells.size(); ++column)
        widths[column] = std::max(widths[column], terminalWidth(cells[column]));
}

// Cells padded to their column's width, without trailing blanks; each kept on its line, with
// whatever control characters it holds shown escaped.
void appendLine(std::string& table, std::span<const QByteArrayView> cells, const Widths& widths) {
    for (std::size_t column = 0; column < cells.size(); ++column) {
        appendTerminalText(table, cells[column]);
        table.append(std::size_t(widths[column] - terminalWidth(cells[column])) + ColumnGap, ' ');
    }
    table.erase(table.find_last_not_of(' ') + 1);
    table += '\n';
}

void appendEscaped(std::string& json, char c) {
    switch (c) {
    case '"': json += "\\\""; break;
    case '\\': json += "\\\\"; break;
    case '\n': json += "\\n"; break;
    case '\r': json += "\\r"; break;
    case '\t': json += "\\t"; break;
    default: {
        static constexpr char Hex[] = "0123456789abcdef";
        json += "\\u00";
        json += Hex[uchar(c) >> 4];
        json += Hex[uchar(c) & 0xF];
    }
    }
}

bool needsEscape(char c) { return c == '"' || c == '\\' || uchar(c) < 0x20; }

// The text as a JSON string; runs that need no escape are copied whole.
void appendString(std::string& json, QByteArrayView text) {
    json += '"';
    qsizetype plainStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!needsEscape(text[i])) continue;
        append(json, text.sliced(plainStart, i - plainStart));
        appendEscaped(json, text[i]);
        plainStart = i + 1;
    }
    append(json, text.sliced(plainStart));
    json += '"';
}

// One object's fields, on one line.
class JsonObject {
public:
    explicit JsonObject(std::string& json) : json_(json) { json_ += '{'; }
    ~JsonObject() { json_ += '}'; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    void string(QByteArrayView name, QByteArrayView text) {
        key(name);
        appendString(json_, text);
    }
    // An empty text is no value.
    void stringOrNull(QByteArrayView name, QByteArrayView text) {
        if (text.isEmpty()) return literal(name, "null");
        string(name, text);
    }
    void number(QByteArrayView name, std::optional<qint64> value) {
        if (!value) return literal(name, "null");
        Digits digits;
        literal(name, digitsOf(*value, digits));
    }
    void boolean(QByteArrayView name, bool value) { literal(name, value ? "true" : "false"); }

private:
    void literal(QByteArrayView name, QByteArrayView value) {
        key(name);
        append(json_, value);
    }
    void key(QByteArrayView name) {
        if (json_.back() != '{') json_ += ", ";
        json_ += '"';
        append(json_, name);
        json_ += "\": ";
    }

    std::string& json_;
};

void appendObject(std::string& json, const ListedDocument& row, bool withSis) {
    JsonObject object(json);
    object.number("pk", row.pk);
    object.string("guid", row.guid);
    object.string("name", row.name);
    object.string("description", row.description);
    object.string("keywords", row.keywords);
    object.string("type", row.type);
    object.stringOrNull("created", row.created);
    object.stringOrNull("timestamp", row.timestamp);
    object.number("size", row.size);
    object.boolean("outside", row.outside);
    if (withSis) object.boolean("sis", row.sis);
}

}  // namespace

void writeTable(const DocumentListing& listing, const TextWriter& write) {
    const TableWords words;
    const Cells headings = words.header();
    const auto header = std::span(headings).first(listing.throughLinks() ? MostColumns : MostColumns - 1);
    Widths widths{};
    widen(widths, header);
    for (const ListedDocument& row : listing.documents())
        widen(widths, RowCells(row, listing.throughLinks(), words).cells());
    Pieces pieces(write);
    appendLine(pieces.text, header, widths);
    for (const ListedDocument& row : listing.documents()) {
        appendLine(pieces.text, RowCells(row, listing.throughLinks(), words).cells(), widths);
        pieces.lineDone();
    }
    pieces.finish();
}

void writeJson(const DocumentListing& listing, const TextWriter& write) {
    Pieces pieces(write);
    pieces.text += '[';
    for (const ListedDocument& row : listing.documents()) {
        pieces.text += &row == &listing.documents().first() ? "\n  " : ",\n  ";
        appendObject(pieces.text, row, listing.throughLinks());
        pieces.lineDone();
    }
    pieces.text += listing.documents().isEmpty() ? "]\n" : "\n]\n";
    pieces.finish();
}

QByteArray written(const DocumentListing& listing, void (*write)(const DocumentListing&, const TextWriter&)) {
    QByteArray text;
    write(listing, [&](std::string_view piece) { text.append(piece.data(), qsizetype(piece.size())); });
    return text;
}

}  // namespace dorvanel::cli
