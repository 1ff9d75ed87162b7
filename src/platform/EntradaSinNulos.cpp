#include "platform/EntradaSinNulos.h"

#include "platform/Codec1252.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

const char* const kVigilado = "quorvanSinNulos";

void LimpiarDocumento(QTextDocument* d)
{
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
        const QString t = b.text();
        for (qsizetype i = t.indexOf(QChar(0)); i >= 0; i = t.indexOf(QChar(0), i + 1)) {
            QTextCursor c(d);
            c.setPosition(b.position() + int(i));
            c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
            c.insertText(QStringLiteral(" "));
        }
    }
}

// After the edit is complete, so the replacement is an edit of its own.
template <class Caja>
void Vigilar(Caja* caja)
{
    QPointer<Caja> p(caja);
    QObject::connect(caja, &Caja::textChanged, caja, [p] {
        if (p && p->document()->toPlainText().contains(QChar(0))) LimpiarDocumento(p->document());
    });
}

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
            Vigilar(pe);
        } else if (auto* te = qobject_cast<QTextEdit*>(o)) {
            o->setProperty(kVigilado, true);
            Vigilar(te);
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
