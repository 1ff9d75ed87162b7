#include "platform/EntradaSinNulos.h"

#include "platform/Codec1252.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QList>
#include <QTextBlock>
#include <QTextFragment>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <optional>

namespace {

const char* const kVigilado = "quorvanSinNulos";

// Text that a cursor puts back exactly as it stands: no character that would start a block.
bool SoloTexto(const QString& t)
{
    for (const QChar c : t)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator || c.unicode() == 0xFDD0 ||
            c.unicode() == 0xFDD1)
            return false;
    return true;
}

// A line box's edit that brought NULs is taken back by the box's own undo and its text put in
// again with blanks, so the box's history holds the blanks alone: one undo takes the paste
// back, a redo brings it back without a NUL. Text the program set has no history to keep.
// `conNulos` is a copy: the box's own text changes under the undo.
void LimpiarLinea(QLineEdit* caja, QString conNulos)
{
    const QString limpio = Codec1252::sinNulos(conNulos);
    if (caja->isUndoAvailable()) {
        bool deshecho = false;
        int desde = 0, puestos = 0;
        {
            // A look back, unseen: a box that is not taken back is put as it was.
            const QSignalBlocker silencio(caja);
            caja->undo();
            // What the edit replaced, as the undo put it back: the selection, or nothing at the cursor.
            const QString previo = caja->text();
            desde = caja->hasSelectedText() ? caja->selectionStart() : caja->cursorPosition();
            const int quitados = int(caja->selectedText().size());
            puestos = int(conNulos.size() - previo.size()) + quitados;
            deshecho = puestos > 0 && !previo.contains(QChar(0)) &&
                       QStringView(previo).left(desde) == QStringView(conNulos).left(desde) &&
                       QStringView(previo).mid(desde + quitados) == QStringView(conNulos).mid(desde + puestos);
            if (!deshecho) caja->redo();
        }
        if (deshecho) {
            caja->insert(limpio.mid(desde, puestos));
            // The next edit is a step of its own, as after any paste.
            caja->cursorBackward(false);
            caja->cursorForward(false);
            return;
        }
    }
    const int pos = caja->cursorPosition();
    caja->setText(limpio);
    caja->setCursorPosition(pos);
}

// Watches one text editor. A change is looked at once, only where it happened: the document
// says where in contentsChange, and the editor's textChanged comes after it, when the
// document may be edited again. All the blanks of one change go in as one edit joined to the
// change that brought the NULs, so one undo takes both back and never brings a NUL back.
template <class Caja>
class Vigia : public QObject {
public:
    explicit Vigia(Caja* caja) : QObject(caja), m_caja(caja)
    {
        connect(caja, &Caja::textChanged, this, &Vigia::Revisar);
        Seguir(caja->document());
    }

private:
    void Seguir(QTextDocument* d)
    {
        if (m_documento) disconnect(m_documento, nullptr, this, nullptr);
        m_documento = d;
        m_desde = 0;
        m_hasta = -1;
        m_visto = false;
        if (d)
            connect(d, &QTextDocument::contentsChange, this, [this](int pos, int, int agregados) {
                if (m_limpiando) return;
                // Two changes before one look: the whole document, rather than add them up.
                m_desde = m_visto ? 0 : pos;
                m_hasta = m_visto ? -1 : pos + agregados;
                m_visto = true;
            });
    }

    void Revisar()
    {
        if (m_limpiando) return;
        QTextDocument* d = m_caja->document();
        if (d != m_documento) Seguir(d);
        if (!d) return;
        const int fin = d->characterCount() - 1;
        const int desde = qBound(0, m_desde, fin);
        const int hasta = m_hasta < 0 ? fin : qBound(desde, m_hasta, fin);
        // Until the next change says where it is: the whole document.
        m_desde = 0;
        m_hasta = -1;
        m_visto = false;
        m_limpiando = true;
        Limpiar(d, desde, hasta);
        m_limpiando = false;
    }

    // One edit: a text put in place of as many characters, or a block break put back with the
    // formats of the block it starts.
    struct Tramo {
        int desde;
        QString texto;
        QTextCharFormat formato;
        std::optional<QTextBlockFormat> bloque;
    };

    void Limpiar(QTextDocument* d, int desde, int hasta)
    {
        // Where the NULs are, by code unit (a NUL and a mark after it are one character to a
        // cursor), with the format of the text around them: collected before any edit, which
        // keeps every length and so every position.
        QList<Tramo> tramos;
        for (QTextBlock b = d->findBlock(desde); b.isValid() && b.position() < hasta; b = b.next())
            for (auto f = b.begin(); !f.atEnd(); ++f) {
                const QTextFragment trozo = f.fragment();
                const int inicio = qMax(trozo.position(), desde);
                const int fin = qMin(trozo.position() + trozo.length(), hasta);
                if (inicio >= fin) continue;
                const QString t = trozo.text().mid(inicio - trozo.position(), fin - inicio);
                const qsizetype primero = t.indexOf(QChar(0));
                if (primero < 0) continue;
                const qsizetype ultimo = t.lastIndexOf(QChar(0));
                QString limpio = t.mid(primero, ultimo - primero + 1);
                if (SoloTexto(limpio)) {
                    // One span from the first NUL to the last, the rest of it put back as it was.
                    limpio.replace(QChar(0), QLatin1Char(' '));
                    tramos.append({inicio + int(primero), limpio, trozo.charFormat(), {}});
                } else {
                    for (qsizetype i = primero; i >= 0; i = t.indexOf(QChar(0), i + 1))
                        tramos.append({inicio + int(i), QStringLiteral(" "), trozo.charFormat(), {}});
                }
            }
        if (tramos.isEmpty()) return;
        // Positions, not a cursor: a copy of the editor's cursor would move with the edits.
        const QTextCursor cursor = m_caja->textCursor();
        const int ancla = cursor.anchor(), posicion = cursor.position();
        // A redo puts the cursor at the end of the step's last edit: that edit must end where the
        // change left the cursor (the end of a paste), or else where the change ended.
        if (d->isUndoRedoEnabled()) Cerrar(d, tramos, desde, posicion >= desde && posicion <= hasta ? posicion : hasta);
        QTextCursor c(d);
        c.joinPreviousEditBlock();
        for (const Tramo& t : tramos) {
            c.setPosition(t.desde);
            c.setPosition(t.desde + int(t.texto.size()), QTextCursor::KeepAnchor);
            if (t.bloque) c.insertBlock(*t.bloque, t.formato);
            else c.insertText(t.texto, t.formato);
        }
        c.endEditBlock();
        // The text keeps its length, so the cursor keeps its place (a blank put in where it stood
        // would push it on).
        const QTextCursor despues = m_caja->textCursor();
        if (despues.anchor() != ancla || despues.position() != posicion) {
            QTextCursor r(d);
            r.setPosition(ancla);
            r.setPosition(posicion, QTextCursor::KeepAnchor);
            m_caja->setTextCursor(r);
        }
    }

    // Makes the last edit end at `hasta`: the last span runs on to it when it lies in the same
    // piece of text, or the change's last piece (or the block break it ends with) is put back as
    // it stands.
    static void Cerrar(QTextDocument* d, QList<Tramo>& tramos, int desde, int hasta)
    {
        Tramo& ultimo = tramos.last();
        const int fin = ultimo.desde + int(ultimo.texto.size());
        if (hasta <= fin) return;
        const QTextBlock b = d->findBlock(hasta - 1);
        if (!b.isValid()) return;
        if (hasta == b.position() + b.length()) {
            if (b.next().isValid() && d->characterAt(hasta - 1) == QChar::ParagraphSeparator)
                tramos.append({hasta - 1, QString(QChar::ParagraphSeparator), b.next().charFormat(), b.next().blockFormat()});
            return;
        }
        for (auto f = b.begin(); !f.atEnd(); ++f) {
            const QTextFragment trozo = f.fragment();
            if (hasta <= trozo.position() || hasta > trozo.position() + trozo.length()) continue;
            const bool mismo = ultimo.desde >= trozo.position();
            const int de = mismo ? fin : qMax(trozo.position(), desde);
            const QString resto = trozo.text().mid(de - trozo.position(), hasta - de);
            if (!SoloTexto(resto)) return;
            if (mismo) ultimo.texto += resto;
            else tramos.append({de, resto, trozo.charFormat(), {}});
            return;
        }
    }

    Caja* m_caja;
    QPointer<QTextDocument> m_documento;
    int m_desde = 0;
    int m_hasta = -1; // -1: to the end
    bool m_visto = false;
    bool m_limpiando = false;
};

class Filtro : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::Polish || o->property(kVigilado).toBool()) return false;
        if (auto* le = qobject_cast<QLineEdit*>(o)) {
            o->setProperty(kVigilado, true);
            QPointer<QLineEdit> p(le);
            connect(le, &QLineEdit::textChanged, le, [p](const QString& t) {
                if (p && t.contains(QChar(0))) LimpiarLinea(p, t);
            });
        } else if (auto* pe = qobject_cast<QPlainTextEdit*>(o)) {
            o->setProperty(kVigilado, true);
            new Vigia<QPlainTextEdit>(pe);
        } else if (auto* te = qobject_cast<QTextEdit*>(o)) {
            o->setProperty(kVigilado, true);
            new Vigia<QTextEdit>(te);
        }
        return false;
    }
};

}

namespace EntradaSinNulos {

void Instalar()
{
    static QPointer<Filtro> filtro;
    if (filtro || !qApp) return;
    filtro = new Filtro(qApp);
    qApp->installEventFilter(filtro);
}

}
