#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/Text.h"
#include "common/Zeichensatz.h"

namespace lw {
namespace {

TEST(Position, CountsFromOneAndIsCaseSensitive) {
    EXPECT_EQ(Position("b", "abcb"), 2u);
    EXPECT_EQ(Position("B", "abcb"), 0u);
    EXPECT_EQ(Position("abc", "ab"), 0u);
    EXPECT_EQ(Position("", "abc"), 0u);
    EXPECT_EQ(Position(std::string_view("\0x", 2), std::string_view("a\0x", 3)), 2u);
}

TEST(Entfernen, EdgeRules) {
    struct Fall {
        long long p, n;
        const char* ergebnis;
    };
    const Fall faelle[] = {
        {2, 2, "ade"},   {1, 5, ""},        {4, 100, "abc"}, {0, 2, "abcde"},
        {-3, 5, "abcde"}, {6, 1, "abcde"}, {3, 0, "abcde"},  {3, -1, "abcde"},
        {5, 1, "abcd"},
    };
    for (const auto& f : faelle) {
        std::string t = "abcde";
        Entfernen(t, f.p, f.n);
        EXPECT_EQ(t, f.ergebnis) << "p=" << f.p << " n=" << f.n;
    }
}

TEST(Grossbuchstaben, Windows1252Rules) {
    EXPECT_EQ(Grossbuchstaben("az AZ 09"), "AZ AZ 09");
    // à..þ get their capitals, except ÷ which is no letter.
    EXPECT_EQ(Grossbuchstaben(W("äöüàþ")), W("ÄÖÜÀÞ"));
    EXPECT_EQ(Grossbuchstaben(W("÷")), W("÷"));
    // The four letters outside the Latin-1 block.
    EXPECT_EQ(Grossbuchstaben(W("šœžÿ")), W("ŠŒŽŸ"));
    // ß and µ have no single-byte capital and stay.
    EXPECT_EQ(Grossbuchstaben(W("ßµ")), W("ßµ"));
    EXPECT_EQ(Grossbuchstabe('\xE3'), '\xC3');
}

TEST(Ersetzen, IgnoresCaseKeepsOwnCharacters) {
    std::string t = "Bild.GIF und bild.gif";
    Ersetzen(t, "bild.gif", "x/Bild.gif");
    EXPECT_EQ(t, "x/Bild.gif und x/Bild.gif");

    t = W("Tür TÜR tür");
    Ersetzen(t, W("tÜr"), "T");
    EXPECT_EQ(t, "T T T");

    t = W("ÿ Ÿ");
    Ersetzen(t, W("ÿ"), "y");
    EXPECT_EQ(t, "y y");

    t = W("÷ ×");  // ÷ (F7) and × (D7) differ by 0x20 yet are no case pair
    Ersetzen(t, W("÷"), "/");
    EXPECT_EQ(t, W("/ ×"));
}

TEST(Ersetzen, NeverSearchesInsideInsertedText) {
    std::string t = "aaa";
    Ersetzen(t, "a", "aa");
    EXPECT_EQ(t, "aaaaaa");
    t = "abab";
    Ersetzen(t, "ab", "b");
    EXPECT_EQ(t, "bb");
    t = "unverändert";
    Ersetzen(t, "", "x");
    EXPECT_EQ(t, "unverändert");
    t = "\\a\\b\\";
    Ersetzen(t, "\\", "/");
    EXPECT_EQ(t, "/a/b/");
}

TEST(DateiName, PartAfterLastSlash) {
    EXPECT_EQ(DateiName("/home/anna/Bilder/kopf.jpg"), "kopf.jpg");
    EXPECT_EQ(DateiName("kopf.jpg"), "kopf.jpg");
    EXPECT_EQ(DateiName("/home/anna/"), "");
    EXPECT_EQ(NameOhneEndung("kontakt.html"), "kontakt");
    EXPECT_EQ(NameOhneEndung("archiv.tar.gz"), "archiv.tar");
    EXPECT_EQ(NameOhneEndung("ohne"), "ohne");
    EXPECT_EQ(NameOhneEndung(".html"), "");
}

// Page names come from a server or from the links tab and become file names.
TEST(SchlichterDateiname, OnlyOneFileInsideTheFolder) {
    const struct {
        const char* fall;
        std::string name;
        bool zulaessig;
    } faelle[] = {
        {"ordinary", "seite.html", true},
        {"two dots inside", "ok..name.html", true},
        {"only extension", ".html", true},
        {"blank and umlaut", W("Über uns.html"), true},
        {"percent-encoded dots stay literal", "%2e%2e%2fx.html", true},
        {"254 bytes", std::string(249, 'a') + ".html", true},
        {"empty", "", false},
        {"dot", ".", false},
        {"two dots", "..", false},
        {"slash", "a/b.html", false},
        {"parent", "../x.html", false},
        {"backslash", "a\\b.html", false},
        {"line feed", "a\nb.html", false},
        {"NUL", std::string("a\0b.html", 8), false},
        {"DEL", "a\x7f.html", false},
        {"tab", "\t.html", false},
        {"quote and tag", "x.html\"><b>y.html", false},
        {"query", "seite.php?.html", false},
        {"drive colon", "c:x.html", false},
        {"pipe and star", "a|b*.html", false},
        {"255 bytes", std::string(250, 'a') + ".html", false},
        {"device", "con.html", false},
        {"device in capitals with blank", "NUL .html", false},
        {"device behind the first dot", "com1.txt.html", false},
        {"device name inside", "icon.html", true},
        {"no device number", "com0.html", true},
        {"trailing dot", "seite.", false},
        {"trailing blank", "seite ", false},
        // \xFC is one byte here and two in a UTF-8 file name.
        {"umlauts over the limit", std::string(125, '\xFC') + ".html", false},
    };
    for (const auto& f : faelle) EXPECT_EQ(SchlichterDateiname(f.name), f.zulaessig) << f.fall;
}

// A relative path stays below its folder: every part a plain file name.
TEST(SchlichterPfad, EveryPartAPlainName) {
    for (const auto& [pfad, zulaessig] : std::vector<std::pair<std::string, bool>>{
             {"a.gif", true},
             {W("data/Über uns/bild 1.png"), true},
             {"", false},
             {"/tmp/x.jpg", false},
             {"a//x.jpg", false},
             {"a/", false},
             {"./x.jpg", false},
             {"a/../../x.jpg", false},
             {"a\\..\\x.jpg", false},
             {"a/con.gif", false}})
        EXPECT_EQ(SchlichterPfad(pfad), zulaessig) << pfad;
}

}  // namespace
}  // namespace lw
