#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

#include "codegen/Inhalt.h"
#include "common/Zeichensatz.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

// The contents block's lines: eight spaces in front, CR LF behind.
std::string Zeilen(std::initializer_list<std::string_view> zeilen) {
    std::string s;
    for (const std::string_view z : zeilen) (s += "        ").append(z) += "\r\n";
    return s;
}

// The Windows clipboard's header, offsets counted as the clipboard does.
std::string MitKopf(const std::string& html) {
    const std::string muster =
        "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\n"
        "EndFragment:%010zu\r\n";
    const std::size_t kopf = std::snprintf(nullptr, 0, muster.c_str(), 0ul, 0ul, 0ul, 0ul);
    const std::size_t anfang = html.find("<!--StartFragment-->") + 20;
    const std::size_t ende = html.find("<!--EndFragment-->");
    std::vector<char> puffer(kopf + 1);
    std::snprintf(puffer.data(), puffer.size(), muster.c_str(), kopf, kopf + html.size(),
                  kopf + anfang, kopf + ende);
    return std::string(puffer.data(), kopf) + html;
}

// As the editor answers: a local or embedded picture is copied into img/.
std::optional<InhaltsBild> InsBildOrdner(const InhaltsBild& bild) {
    if (bild.src.rfind("img/", 0) == 0) return bild;
    InhaltsBild neu = bild;
    neu.src = bild.src.rfind("data:", 0) == 0 ? "img/eingefuegt.png"
                                              : "img/" + bild.src.substr(bild.src.rfind('/') + 1);
    if (neu.alt.empty()) neu.alt = "Beschreibung";
    return neu;
}

struct Probe {
    const char* quelle;
    std::string eingabe;
    std::string erwartet;
    std::vector<std::string> webBilder = {};
};

// What the five programs put on the clipboard, the editor's own export, and
// markup meant to do harm.
const std::vector<Probe>& Proben() {
    static const std::vector<Probe> proben = {
        {"Word",
         MitKopf(
             R"~(<html xmlns:v="urn:schemas-microsoft-com:vml" xmlns:o="urn:schemas-microsoft-com:office:office" xmlns:w="urn:schemas-microsoft-com:office:word" xmlns="http://www.w3.org/TR/REC-html40">
<head><meta http-equiv=Content-Type content="text/html; charset=utf-8"><meta name=ProgId content=Word.Document>
<!--[if gte mso 9]><xml><o:OfficeDocumentSettings><o:AllowPNG/></o:OfficeDocumentSettings></xml><![endif]-->
<style><!-- p.MsoNormal {margin:0cm; font-size:11.0pt;} @list l0:level1 {mso-level-number-format:bullet;} --></style>
</head><body lang=DE style='tab-interval:35.4pt'>
<!--StartFragment--><p class=MsoTitle><span lang=DE>Jahresbericht<o:p></o:p></span></p>
<h1><a name="_Toc1"></a><span lang=DE>&Uuml;ber uns<o:p></o:p></span></h1>
<p class=MsoNormal>Wir sind <b>stark</b>, <i style='mso-bidi-font-style:normal'>schnell</i> und <u>gründlich</u>.<span style='mso-spacerun:yes'>&nbsp; </span>Seit 1990.<o:p></o:p></p>
<p class=MsoNormal><o:p>&nbsp;</o:p></p>
<p class=MsoListParagraphCxSpFirst style='text-indent:-18.0pt;mso-list:l0 level1 lfo1'><![if !supportLists]><span style='font-family:Symbol'><span style='mso-list:Ignore'>&middot;<span style='font:7.0pt "Times New Roman"'>&nbsp;&nbsp;&nbsp; </span></span></span><![endif]>Erstens<o:p></o:p></p>
<p class=MsoListParagraphCxSpMiddle style='margin-left:72.0pt;text-indent:-18.0pt;mso-list:l0 level2 lfo1'><![if !supportLists]><span style='font-family:"Courier New"'><span style='mso-list:Ignore'>o<span style='font:7.0pt "Times New Roman"'>&nbsp;&nbsp; </span></span></span><![endif]>Unterpunkt<o:p></o:p></p>
<p class=MsoListParagraphCxSpLast style='text-indent:-18.0pt;mso-list:l0 level1 lfo1'><!--[if !supportLists]--><span style='font-family:Symbol'><span style='mso-list:Ignore'>&middot;<span style='font:7.0pt "Times New Roman"'>&nbsp; </span></span></span><!--[endif]-->Zweitens<o:p></o:p></p>
<p class=MsoListParagraphCxSpFirst style='text-indent:-18.0pt;mso-list:l1 level1 lfo2'><![if !supportLists]><span><span style='mso-list:Ignore'>1.<span style='font:7.0pt "Times New Roman"'>&nbsp;&nbsp; </span></span></span><![endif]>Eins<o:p></o:p></p>
<p class=MsoListParagraphCxSpLast style='text-indent:-18.0pt;mso-list:l1 level1 lfo2'><![if !supportLists]><span><span style='mso-list:Ignore'>2.<span style='font:7.0pt "Times New Roman"'>&nbsp;&nbsp; </span></span></span><![endif]>Zwei<o:p></o:p></p>
<p class=MsoNormal>Mehr auf <a href="https://example.com/?a=1&amp;b=2">example.com</a><br style='mso-special-character:line-break'><![if !supportLineBreakNewLine]><br style='mso-special-character:line-break'><![endif]>und <span style='color:red;font-size:14.0pt'>rot</span>.</p>
<p class=MsoNormal><!--[if gte vml 1]><v:shape id="Grafik_x0020_1" style='width:90pt;height:60pt'><v:imagedata src="file:///C:/Users/Anna/AppData/Local/Temp/msohtmlclip1/01/clip_image001.png" o:title=""/></v:shape><![endif]--><![if !vml]><img width=120 height=80 src="file:///C:/Users/Anna/AppData/Local/Temp/msohtmlclip1/01/clip_image002.png" alt="Logo der Firma" v:shapes="Grafik_x0020_1"><![endif]></p>
<table class=MsoTableGrid border=1 cellspacing=0 cellpadding=0 style='border-collapse:collapse;border:none'>
 <tr style='mso-yfti-irow:0'>
  <td width=302 valign=top style='width:226.55pt;border:solid windowtext 1.0pt'><p class=MsoNormal><b>Name<o:p></o:p></b></p></td>
  <td width=302 valign=top style='border:solid windowtext 1.0pt;border-left:none'><p class=MsoNormal>Wert<o:p></o:p></p></td>
 </tr>
</table>
<!--EndFragment-->
</body>
</html>)~"),
         Zeilen({"<h1>Jahresbericht</h1>",
                 "<h1>&Uuml;ber uns</h1>",
                 "<p>Wir sind <strong>stark</strong>, <em>schnell</em> und "
                 "<u>gr&uuml;ndlich</u>.&#160; Seit 1990.</p>",
                 "<p><br /></p>",
                 "<ul>",
                 "  <li>Erstens",
                 "    <ul>",
                 "      <li>Unterpunkt</li>",
                 "    </ul>",
                 "  </li>",
                 "  <li>Zweitens</li>",
                 "</ul>",
                 "<ol>",
                 "  <li>Eins</li>",
                 "  <li>Zwei</li>",
                 "</ol>",
                 "<p>Mehr auf <a href=\"https://example.com/?a=1&amp;b=2\">example.com</a><br "
                 "/>und rot.</p>",
                 "<p><img src=\"img/clip_image002.png\" alt=\"Logo der Firma\" width=\"120\" "
                 "height=\"80\" /></p>",
                 "<table border=\"1\" cellpadding=\"0\">",
                 "  <tr>",
                 "    <td><strong>Name</strong></td>",
                 "    <td>Wert</td>",
                 "  </tr>",
                 "</table>"})},
        {"LibreOffice Writer", R"~(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0 Transitional//EN">
<html><head><meta http-equiv="content-type" content="text/html; charset=utf-8"/><title></title><meta name="generator" content="LibreOffice 7.4.7.2 (Linux)"/><style type="text/css">@page { size: 21cm 29.7cm; margin: 2cm }
		p { line-height: 115%; margin-bottom: 0.25cm; background: transparent }
		h1.western { font-family: "Liberation Serif", serif; font-size: 24pt; font-weight: bold }
	</style></head>
<body lang="de-DE" link="#000080" vlink="#800000" dir="ltr"><h1 class="western">Kapitel &amp; Vers</h1>
<h4 class="western">Kleiner Abschnitt</h4>
<p class="western" style="line-height: 100%; margin-bottom: 0cm"><font face="Liberation Serif, serif"><font size="3" style="font-size: 12pt">Ein <b>kräftiges</b> und <i>schräges</i> Wort, <span style="font-weight: normal">normal</span>, <span style="font-weight: bold">stark</span>.</font></font></p>
<ol><li><p style="margin-bottom: 0cm">Erster</p></li><li><p style="margin-bottom: 0cm">Zweiter</p><ul><li><p>Tiefer</p></li></ul></li></ol>
<table width="100%" cellpadding="4" cellspacing="0"><col width="128*"/><col width="128*"/><tr valign="top"><td width="50%" style="border-top: 1px solid #000000; border-bottom: 1px solid #000000; border-left: 1px solid #000000; border-right: none; padding: 0.1cm"><p>A</p></td><td width="50%" style="border: 1px solid #000000; padding: 0.1cm"><p>B</p><p>B2</p></td></tr></table>
<p style="line-height: 100%; margin-bottom: 0cm"><br/></p>
</body></html>)~",
         Zeilen({"<h1>Kapitel &amp; Vers</h1>", "<h3>Kleiner Abschnitt</h3>",
                 "<p>Ein <strong>kr&auml;ftiges</strong> und <em>schr&auml;ges</em> Wort, normal, "
                 "<strong>stark</strong>.</p>",
                 "<ol>", "  <li>Erster</li>", "  <li>Zweiter", "    <ul>", "      <li>Tiefer</li>",
                 "    </ul>", "  </li>", "</ol>", "<table border=\"1\" cellpadding=\"4\">",
                 "  <tr>", "    <td>A</td>", "    <td>B<br />B2</td>", "  </tr>", "</table>"})},
        {"Google Docs",
         R"~(<meta charset="utf-8"><b style="font-weight:normal;" id="docs-internal-guid-1a2b3c4d-7fff-5e6f-0a1b-2c3d4e5f6a7b"><h1 dir="ltr" style="line-height:1.38;margin-top:20pt;margin-bottom:6pt;"><span style="font-size:20pt;font-family:Arial,sans-serif;color:#000000;background-color:transparent;font-weight:400;font-style:normal;font-variant:normal;text-decoration:none;vertical-align:baseline;white-space:pre;white-space:pre-wrap;">Projekt</span></h1><p dir="ltr" style="line-height:1.38;margin-top:0pt;margin-bottom:0pt;"><span style="font-size:11pt;font-family:Arial,sans-serif;color:#000000;font-weight:400;font-style:normal;text-decoration:none;white-space:pre-wrap;">Normal, </span><span style="font-size:11pt;font-family:Arial,sans-serif;color:#000000;font-weight:700;font-style:normal;text-decoration:none;white-space:pre-wrap;">fett</span><span style="font-size:11pt;font-weight:400;font-style:italic;text-decoration:none;white-space:pre-wrap;">, kursiv</span><span style="font-size:11pt;font-weight:400;font-style:normal;text-decoration:underline;-webkit-text-decoration-skip:none;text-decoration-skip-ink:none;white-space:pre-wrap;">, unterstrichen</span></p><br><ul style="margin-top:0;margin-bottom:0;padding-inline-start:48px;"><li dir="ltr" style="list-style-type:disc;font-size:11pt;font-family:Arial,sans-serif;" aria-level="1"><p dir="ltr" style="line-height:1.38;margin-top:0pt;margin-bottom:0pt;" role="presentation"><span style="font-size:11pt;font-weight:400;">Punkt</span></p></li><ul style="margin-top:0;margin-bottom:0;padding-inline-start:48px;"><li dir="ltr" style="list-style-type:circle;font-size:11pt;" aria-level="2"><p dir="ltr" style="line-height:1.38;margin-top:0pt;margin-bottom:0pt;" role="presentation"><span style="font-size:11pt;font-weight:400;">Unterpunkt</span></p></li></ul><li dir="ltr" style="list-style-type:disc;" aria-level="1"><p dir="ltr" role="presentation"><span style="font-weight:400;">Punkt zwei</span></p></li></ul><p dir="ltr" style="line-height:1.38;margin-top:0pt;margin-bottom:0pt;"><a href="https://example.org/seite" style="text-decoration:none;"><span style="font-size:11pt;color:#1155cc;font-weight:400;text-decoration:underline;-webkit-text-decoration-skip:none;white-space:pre-wrap;">Link</span></a></p><div dir="ltr" style="margin-left:0pt;" align="left"><table style="border:none;border-collapse:collapse;"><colgroup><col width="100" /><col width="100" /></colgroup><tbody><tr style="height:0pt"><td style="border-left:solid #000000 1pt;border-right:solid #000000 1pt;border-bottom:solid #000000 1pt;border-top:solid #000000 1pt;vertical-align:top;padding:5pt 5pt 5pt 5pt;overflow:hidden;"><p dir="ltr" style="line-height:1.2;margin-top:0pt;margin-bottom:0pt;"><span style="font-size:11pt;font-weight:400;">X</span></p></td><td style="border-left:solid #000000 1pt;vertical-align:top;"><p dir="ltr" style="line-height:1.2;margin-top:0pt;margin-bottom:0pt;"><span style="font-size:11pt;font-weight:700;">Y</span></p></td></tr></tbody></table></div><p dir="ltr"><span style="font-size:11pt;font-weight:400;"><span style="border:none;display:inline-block;overflow:hidden;width:200px;height:100px;"><img src="https://lh7-us.googleusercontent.com/docsz/abc123" width="200" height="100" style="margin-left:0px;margin-top:0px;" /></span></span></p></b><br class="Apple-interchange-newline">)~",
         Zeilen({"<h1>Projekt</h1>",
                 "<p>Normal, <strong>fett</strong><em>, kursiv</em><u>, unterstrichen</u></p>",
                 "<p><br /></p>", "<ul>", "  <li>Punkt", "    <ul>", "      <li>Unterpunkt</li>",
                 "    </ul>", "  </li>", "  <li>Punkt zwei</li>", "</ul>",
                 "<p><a href=\"https://example.org/seite\">Link</a></p>", "<table border=\"1\">",
                 "  <tr>", "    <td>X</td>", "    <td><strong>Y</strong></td>", "  </tr>",
                 "</table>"}),
         {"https://lh7-us.googleusercontent.com/docsz/abc123"}},
        {"Chromium",
         R"~(<meta charset='utf-8'><h2 style="color: rgb(32, 33, 36); font-family: Roboto, Arial, sans-serif; font-size: 24px; font-style: normal; font-variant-ligatures: normal; font-weight: 400; letter-spacing: normal; orphans: 2; text-align: start; text-indent: 0px; text-transform: none; white-space: normal; widows: 2; word-spacing: 0px; -webkit-text-stroke-width: 0px; text-decoration-style: initial; text-decoration-color: initial;">Öffnungszeiten</h2><p style="color: rgb(32, 33, 36); font-family: Roboto, Arial, sans-serif; font-size: 16px; font-style: normal; font-weight: 400; white-space: normal; text-decoration-style: initial;">Montag bis Freitag <strong>9–17 Uhr</strong>, <a href="https://example.com/kontakt" style="color: rgb(26, 115, 232); text-decoration: underline;">Kontakt</a>.</p><ul style="color: rgb(32, 33, 36); font-size: 16px;"><li>Kaffee</li><li><b style="font-weight: 700;">Kuchen</b></li></ul><span style="color: rgb(32, 33, 36); font-family: Roboto, Arial, sans-serif; font-size: 16px; font-weight: 400; display: inline !important; float: none;">Lose Zeile mit&nbsp;Abstand </span><img src="//cdn.example.com/bild.jpg" alt="Foto"><span style="font-size: 16px;"> und Ende</span>)~",
         Zeilen({"<h2>&Ouml;ffnungszeiten</h2>",
                 "<p>Montag bis Freitag <strong>9&#8211;17 Uhr</strong>, <a "
                 "href=\"https://example.com/kontakt\">Kontakt</a>.</p>",
                 "<ul>", "  <li>Kaffee</li>", "  <li><strong>Kuchen</strong></li>", "</ul>",
                 "<p>Lose Zeile mit&#160;Abstand und Ende</p>"}),
         {"//cdn.example.com/bild.jpg"}},
        {"Firefox", MitKopf(R"~(<html><body>
<!--StartFragment--><h2>Anfahrt</h2>
<p>Mit der <abbr title="Stadtbahn">S-Bahn</abbr> bis <b>Hauptbahnhof</b>, dann <i>10 Minuten</i> zu Fu&szlig;.<br>
Parkpl&auml;tze: siehe <a href="https://example.com/karte.pdf" title="Karte (PDF)">Karte</a></p>
<ol><li>Ausgang Nord</li><li>Links</li></ol>
<table><tbody><tr><th>Tag</th><th>Zeit</th></tr><tr><td>Mo</td><td>9 – 17</td></tr></tbody></table>
<img src="data:image/png;base64,iVBORw0KGgo=" alt=""><!--EndFragment-->
</body>
</html>)~"),
         Zeilen({"<h2>Anfahrt</h2>",
                 "<p>Mit der S-Bahn bis <strong>Hauptbahnhof</strong>, dann <em>10 Minuten</em> zu "
                 "Fu&szlig;.<br />Parkpl&auml;tze: siehe <a href=\"https://example.com/karte.pdf\" "
                 "title=\"Karte (PDF)\">Karte</a></p>",
                 "<ol>", "  <li>Ausgang Nord</li>", "  <li>Links</li>", "</ol>", "<table>",
                 "  <tr>", "    <th>Tag</th>", "    <th>Zeit</th>", "  </tr>", "  <tr>",
                 "    <td>Mo</td>", "    <td>9 &#8211; 17</td>", "  </tr>", "</table>",
                 "<p><img src=\"img/eingefuegt.png\" alt=\"Beschreibung\" /></p>"})},
        // The editor's own document as Qt 6.4 writes it; a list indented
        // without an item above it stands as a sibling with its level.
        {"Qt",
         R"~(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.0//EN" "http://www.w3.org/TR/REC-html40/strict.dtd">
<html><head><meta name="qrichtext" content="1" /><meta charset="utf-8" /><style type="text/css">
p, li { white-space: pre-wrap; }
hr { height: 1px; border-width: 0; }
li.unchecked::marker { content: "\2610"; }
</style></head><body style=" font-family:'Sans Serif'; font-size:9pt; font-weight:400; font-style:normal;">
<h1 style=" margin-top:18px; margin-bottom:12px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;"><span style=" font-size:xx-large; font-weight:700;">Titel </span><span style=" font-size:xx-large; font-weight:700; font-style:italic;">schr&auml;g</span></h1>
<p style=" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;">Absatz mit  <span style=" font-weight:700;">fett</span> und <a href="https://example.org/?a=1&amp;b=2"><span style=" text-decoration: underline; color:#0000ff;">Link</span></a> Ü€…</p>
<p style="-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;"><br /></p>
<ul style="margin-top: 0px; margin-bottom: 0px; margin-left: 0px; margin-right: 0px; -qt-list-indent: 1;">
<li style=" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;">Eins</li></ul>
<ol style="margin-top: 0px; margin-bottom: 0px; margin-left: 0px; margin-right: 0px; -qt-list-indent: 2;">
<li style=" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;">Zwei</li>
<li style=" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;">Drei</li></ol>
<ul style="margin-top: 0px; margin-bottom: 0px; margin-left: 0px; margin-right: 0px; -qt-list-indent: 1;">
<li style=" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;">Vier</li></ul>
<table border="1" style=" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px;" cellspacing="2" cellpadding="4">
<tr>
<td>
<p style=" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;">A1</p></td>
<td></td></tr></table>
<hr />
<p style=" margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;"><img src="img/bild.png" width="40" height="30" /><br />Zeile</p>
<p style="-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;"><br /></p></body></html>)~",
         Zeilen({"<h1>Titel <em>schr&auml;g</em></h1>",
                 "<p>Absatz mit <strong>fett</strong> und <a "
                 "href=\"https://example.org/?a=1&amp;b=2\">Link</a> &Uuml;&#8364;&#8230;</p>",
                 "<p><br /></p>",
                 "<ul>",
                 "  <li>Eins",
                 "    <ol>",
                 "      <li>Zwei</li>",
                 "      <li>Drei</li>",
                 "    </ol>",
                 "  </li>",
                 "  <li>Vier</li>",
                 "</ul>",
                 "<table border=\"1\" cellpadding=\"4\">",
                 "  <tr>",
                 "    <td>A1</td>",
                 "    <td></td>",
                 "  </tr>",
                 "</table>",
                 "<hr />",
                 "<p><img src=\"img/bild.png\" alt=\"\" width=\"40\" height=\"30\" /><br "
                 "/>Zeile</p>"})},
        {"feindlich",
         R"~(<p onclick="alert(1)" style="background:url(javascript:alert(1))">Hallo <script>alert("<p>")</script><a href="javascript:alert(1)">eins</a> <a href=" JaVa&#x53;cript&colon;x">zwei</a> <a href="java&#9;script:alert(1)">drei</a> <a href="data:text/html,<b>x">vier</a> <a href="vbscript:msgbox">f&uuml;nf</a> <a href="file:///etc/passwd">sechs</a> <a href="#oben">sieben</a></p><iframe src="https://evil.example/"><p>innen</p></iframe><object data="x.swf"><param name="a" value="b">Ersatz</object><form action="/senden">Feld: <input value="y"><textarea>Text</textarea><button>Los</button><select><option>Wahl</option></select></form><style>p { color: red }</style><img src="javascript:alert(1)" alt="x"><img src="img/x.png" onerror="alert(1)" alt="Bild"><svg><script>alert(1)</script><text>SVG</text></svg><noscript><p>ohne</p></noscript>)~",
         Zeilen({"<p>Hallo eins zwei drei vier f&uuml;nf sechs sieben</p>", "<p>Feld:</p>",
                 "<p><img src=\"img/x.png\" alt=\"Bild\" /></p>"})},
        {"kaputt", "<p>eins<p>zwei</b></i><ul><li>drei<li>vier</ul></div><b>fett<p>weiter</b>",
         Zeilen({"<p>eins</p>", "<p>zwei</p>", "<ul>", "  <li>drei</li>", "  <li>vier</li>",
                 "</ul>", "<p><strong>fett</strong></p>", "<p><strong>weiter</strong></p>"})},
    };
    return proben;
}

TEST(InhaltBereinigen, PasteSamplesComeOutInTheSetAndStayThere) {
    InhaltsOptionen optionen;
    optionen.bild = InsBildOrdner;
    for (const Probe& p : Proben()) {
        const BereinigterInhalt ergebnis = InhaltBereinigen(p.eingabe, optionen);
        EXPECT_EQ(ergebnis.markup, p.erwartet) << p.quelle;
        EXPECT_EQ(ergebnis.webBilder, p.webBilder) << p.quelle;
        // Reduced again, as a saved page's bytes, it stays as it is.
        InhaltsOptionen seitenbytes;
        seitenbytes.kodierung = Kodierung::Seitenbytes;
        EXPECT_EQ(InhaltBereinigen(p.erwartet, seitenbytes).markup, p.erwartet) << p.quelle;
    }
}

// Saved pages' bytes and plain text.
TEST(InhaltBereinigen, PageBytesAndPlainText) {
    InhaltsOptionen seite;
    seite.kodierung = Kodierung::Seitenbytes;
    const std::pair<std::string, std::string> seiten[] = {
        {"<p>Gr\xFC\xDF"
         "e &amp; \xE2\x82\xAC und \x80, &#150; &#x1F600; &auml &notin;</p>",
         Zeilen({"<p>Gr&uuml;&szlig;e &amp; &#8364; und &#8364;, &#8211; &#128512; &auml; "
                 "&#8713;</p>"})},
        {"<p>\x01Steuer\x7F\x81zeichen&#1;&#xFFFF;</p><p>   </p>",
         Zeilen({"<p>Steuerzeichen&#65533;</p>"})},
    };
    for (const auto& [eingabe, erwartet] : seiten)
        EXPECT_EQ(InhaltBereinigen(eingabe, seite).markup, erwartet) << eingabe;
    EXPECT_FALSE(
        InhaltImSatz("<p>Gr\xFC\xDF"
                     "e</p>"));
    EXPECT_FALSE(InhaltImSatz("        <p class=\"x\">a</p>\r\n"));
    EXPECT_FALSE(InhaltImSatz("        <p>a</p>\n"));
    EXPECT_TRUE(InhaltImSatz(""));

    EXPECT_EQ(
        KlartextAlsInhalt("Zeile 1\r\nZeile  2\r\n \r\nAbsatz <b> & \xC3\xBC\rMac\n\n\n"),
        Zeilen({"<p>Zeile 1<br />Zeile 2</p>", "<p>Absatz &lt;b&gt; &amp; &uuml;<br />Mac</p>"}));
    EXPECT_EQ(KlartextAlsInhalt("\n \n"), "");
}

// Every sample's result is valid XHTML 1.0 Transitional in a page's
// contents block.
TEST(InhaltBereinigen, ResultsPassTheDtd) {
    std::string inhalt;
    InhaltsOptionen optionen;
    optionen.bild = InsBildOrdner;
    for (const Probe& p : Proben()) inhalt += InhaltBereinigen(p.eingabe, optionen).markup;
    test::TempOrdner ordner;
    const std::string datei = ordner / "seite.html";
    test::Schreiben(datei,
                    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<!DOCTYPE html PUBLIC "
                    "\"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n<html "
                    "xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head><body>\r\n"
                    "      <div id=\"Inhalt\">\r\n" +
                        inhalt + "      </div>\r\n</body></html>\r\n");
    FILE* rohr = ::popen(("xmllint --nonet --noout --valid '" + datei + "' 2>&1").c_str(), "r");
    ASSERT_NE(rohr, nullptr);
    std::string ausgabe;
    char puffer[512];
    while (std::fgets(puffer, sizeof puffer, rohr)) ausgabe += puffer;
    const int rc = ::pclose(rohr);
    EXPECT_TRUE(WIFEXITED(rc) && WEXITSTATUS(rc) == 0) << ausgabe;
}

}  // namespace
}  // namespace lw
