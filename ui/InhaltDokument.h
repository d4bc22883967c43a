#pragma once

#include <QImage>
#include <QString>
#include <QTextDocument>
#include <functional>
#include <string>

// The edges of the contents editor: a page's contents block goes into a
// QTextDocument, which keeps text, formats and undo, and comes out again as
// the contents block's lines. Nothing in between knows markup.
namespace lw::ui {

// A page's document. Pictures are found by their address in the page
// ("img/foto.jpg") through finden, which gives the file on disk or nothing;
// pictures inserted before the save are handed in with BildHinterlegen.
class InhaltDokument final : public QTextDocument {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InhaltDokument)

public:
    using Finder = std::function<QString(const QString& adresse)>;

    explicit InhaltDokument(Finder finden, QObject* eltern = nullptr);

    // Shows bild wherever the contents give adresse.
    void BildHinterlegen(const QString& adresse, const QImage& bild);

protected:
    QVariant loadResource(int art, const QUrl& name) override;

private:
    Finder finden_;
};

// The contents block (a saved page's bytes, Windows-1252 with entities) into
// the document, replacing what it held; the undo history starts afresh.
void InhaltLaden(QTextDocument& dokument, const std::string& markup);

// The document as the contents block's lines; empty when it holds no text.
// Every picture is written with its description and its size.
std::string InhaltSchreiben(const QTextDocument& dokument);

}  // namespace lw::ui
