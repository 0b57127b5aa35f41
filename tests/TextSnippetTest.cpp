#include "repository/TextSnippet.h"

#include <gtest/gtest.h>

using namespace dorvanel;

namespace {

// Words are found as the index finds them (prefixes, case and accents aside); the snippet keeps
// what lies between them and says where the text goes on.
TEST(TextSnippet, MarksTheWordsFoundAroundTheFirstOne) {
    const QString numbers = QStringLiteral(
        "uno dos tres cuatro cinco seis siete ocho nueve diez once doce trece "
        "catorce quince dieciséis diecisiete dieciocho diecinueve veinte");
    const struct {
        QString text;
        QStringList words;
        QString snippet;
    } cases[] = {
        {QStringLiteral("Llegó el CAMIÓN\nrojo."),
         {QStringLiteral("camion")},
         QStringLiteral("Llegó el [CAMIÓN]\nrojo")},
        {QStringLiteral("El ñandú, la Ñandutí"),
         {QStringLiteral("\"NANDU")},
         QStringLiteral("El [ñandú], la [Ñandutí]")},
        {numbers,
         {QStringLiteral("once"), QStringLiteral("veint")},
         QStringLiteral("…cinco seis siete ocho nueve diez [once] doce trece catorce quince dieciséis diecisiete "
                        "dieciocho diecinueve [veinte]")},
        {numbers,
         {QStringLiteral("nada")},
         QStringLiteral("uno dos tres cuatro cinco seis siete ocho nueve diez once doce trece catorce quince "
                        "dieciséis…")},
        {QStringLiteral(" ¡! "), {QStringLiteral("x")}, QString()},
    };
    for (const auto& [text, words, snippet] : cases) EXPECT_EQ(TextSnippet(text, words), snippet) << text.toStdString();
}

}  // namespace
