#include "ui/InhaltDokument.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>
#include <QVariant>

#include "codegen/Inhalt.h"
#include "ui/TextUmwandlung.h"

namespace lw::ui {

InhaltDokument::InhaltDokument(Finder finden, QObject* eltern)
    : QTextDocument(eltern), finden_(std::move(finden)) {}

void InhaltDokument::BildHinterlegen(const QString& adresse, const QImage& bild) {
    addResource(QTextDocument::ImageResource, QUrl(adresse), bild);
}

QVariant InhaltDokument::loadResource(int art, const QUrl& name) {
    if (art != QTextDocument::ImageResource || !finden_) return {};
    const QString datei = finden_(name.toString());
    if (datei.isEmpty()) return {};
    // Read once: Qt keeps what this gives for the document's lifetime.
    QImage bild(datei);
    if (bild.isNull()) return {};
    return bild;
}

void InhaltLaden(QTextDocument& dokument, const std::string& markup) {
    dokument.setUndoRedoEnabled(false);
    dokument.setHtml(alsQString(markup));
    // Qt keeps the line end after a block as a blank at its end; the page
    // shows none there, and the cursor at the end of a paragraph must not
    // stand behind one.
    for (QTextBlock block = dokument.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        int blanks = 0;
        while (blanks < text.size() && text.at(text.size() - 1 - blanks) == QLatin1Char(' '))
            ++blanks;
        if (blanks == 0) continue;
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + text.size() - blanks);
        cursor.setPosition(block.position() + text.size(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    dokument.setUndoRedoEnabled(true);
    dokument.setModified(false);
}

std::string InhaltSchreiben(const QTextDocument& dokument) {
    if (dokument.isEmpty()) return {};
    lw::InhaltsOptionen optionen;
    optionen.kodierung = lw::Kodierung::Utf8;
    // The size is always written, so that the page does not jump while the
    // picture loads; a picture read without one takes the one it has.
    optionen.bild = [&dokument](const lw::InhaltsBild& gefunden) -> std::optional<lw::InhaltsBild> {
        lw::InhaltsBild bild = gefunden;
        if (bild.breite <= 0 || bild.hoehe <= 0) {
            const QImage gezeigt =
                dokument.resource(QTextDocument::ImageResource, QUrl(QString::fromStdString(bild.src)))
                    .value<QImage>();
            if (!gezeigt.isNull()) {
                bild.breite = gezeigt.width();
                bild.hoehe = gezeigt.height();
            }
        }
        return bild;
    };
    return lw::InhaltBereinigen(dokument.toHtml().toStdString(), optionen).markup;
}

}  // namespace lw::ui
