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

void Vigilar(QTextDocument* d, QObject* dueno)
{
    QObject::connect(d, &QTextDocument::contentsChange, dueno, [d](int, int, int agregados) {
        if (agregados > 0 && d->toPlainText().contains(QChar(0))) LimpiarDocumento(d);
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
            Vigilar(pe->document(), pe);
        } else if (auto* te = qobject_cast<QTextEdit*>(o)) {
            o->setProperty(kVigilado, true);
            Vigilar(te->document(), te);
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
