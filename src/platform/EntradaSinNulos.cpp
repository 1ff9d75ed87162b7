#include "platform/EntradaSinNulos.h"

#include "platform/Codec1252.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QList>
#include <QTextBlock>
#include <QTextFragment>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

const char* const kVigilado = "quorvanSinNulos";

// Watches one text editor. A change is looked at once, only where it happened: the document
// says where in contentsChange, and the editor's textChanged comes after it, when the
// document may be edited again. All the blanks of one change go in as one edit joined to the
// change that brought the NULs, so one undo takes both back and never brings a NUL back.
// Text that a cursor puts back exactly as it stands: no character that would start a block.
bool SoloTexto(const QString& t)
{
    for (const QChar c : t)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator || c.unicode() == 0xFDD0 ||
            c.unicode() == 0xFDD1)
            return false;
    return true;
}

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

    void Limpiar(QTextDocument* d, int desde, int hasta)
    {
        // Where the NULs are, by code unit (a NUL and a mark after it are one character to a
        // cursor), with the format of the text around them: collected before any edit, which
        // keeps every length and so every position.
        struct Tramo {
            int desde;
            QString texto;
            QTextCharFormat formato;
        };
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
                    tramos.append({inicio + int(primero), limpio, trozo.charFormat()});
                } else {
                    for (qsizetype i = primero; i >= 0; i = t.indexOf(QChar(0), i + 1))
                        tramos.append({inicio + int(i), QStringLiteral(" "), trozo.charFormat()});
                }
            }
        if (tramos.isEmpty()) return;
        const QTextCursor antes = m_caja->textCursor();
        QTextCursor c(d);
        c.joinPreviousEditBlock();
        for (const Tramo& t : tramos) {
            c.setPosition(t.desde);
            c.setPosition(t.desde + int(t.texto.size()), QTextCursor::KeepAnchor);
            c.insertText(t.texto, t.formato);
        }
        c.endEditBlock();
        // A blank put in where the cursor stood would push it on; it stays where it was.
        const QTextCursor despues = m_caja->textCursor();
        if (despues.anchor() != antes.anchor() || despues.position() != antes.position()) {
            QTextCursor r(d);
            r.setPosition(antes.anchor());
            r.setPosition(antes.position(), QTextCursor::KeepAnchor);
            m_caja->setTextCursor(r);
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
                if (!p || !t.contains(QChar(0))) return;
                const int pos = p->cursorPosition();
                p->setText(Codec1252::sinNulos(t));
                p->setCursorPosition(pos);
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
