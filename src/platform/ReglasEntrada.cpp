#include "platform/ReglasEntrada.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcutEvent>
#include <QTextEdit>
#include <QVariant>
#include <QValidator>
#include <optional>

namespace ReglasEntrada {

namespace {

// Runs the focused field's leave check before a button's accelerator presses it.
class VerificaAtajos : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() != QEvent::Shortcut) return false;
        auto* boton = qobject_cast<QAbstractButton*>(objeto);
        if (!boton || BotonDeCierre(boton) || static_cast<QShortcutEvent*>(evento)->isAmbiguous()) return false;
        const QWidget* campo = QApplication::focusWidget();
        if (!campo || campo == boton || boton->focusPolicy() == Qt::NoFocus || !boton->isEnabled()) return false;
        boton->setFocus(Qt::ShortcutFocusReason);
        // A check that refused put the focus back into its field: the press does not happen.
        return QApplication::focusWidget() != boton;
    }
};

class ValidadorCaracteres : public QValidator {
public:
    ValidadorCaracteres(std::function<bool(QChar)> acepta, QObject* padre)
        : QValidator(padre), m_acepta(std::move(acepta))
    {
    }
    State validate(QString& texto, int&) const override
    {
        for (const QChar c : texto)
            if (!m_acepta(c)) {
                QApplication::beep();
                return Invalid;
            }
        // Never "intermediate": the box must still hand Enter on.
        return Acceptable;
    }

private:
    std::function<bool(QChar)> m_acepta;
};

bool EsDigito(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The menu's "Paste" by the box's own caption for it (translated like the menu), the shortcut
// shown after a tab left aside.
bool EsPegar(const QAction* a) { return a->text().section(QLatin1Char('\t'), 0, 0) == QLineEdit::tr("&Paste"); }

// Takes each way a paste or a drop reaches a digits-only box, so the separators go before the
// box cuts the text to its room.
class PegadoNumerico : public QObject {
public:
    PegadoNumerico(QLineEdit* caja, std::function<bool(QChar)> acepta) : QObject(caja), m_caja(caja), m_acepta(std::move(acepta))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* evento) override
    {
        const QEvent::Type tipo = evento->type();
        if (tipo != QEvent::KeyPress && tipo != QEvent::MouseButtonRelease && tipo != QEvent::ContextMenu &&
            tipo != QEvent::Drop)
            return false;
        if (m_caja->isReadOnly() || !SoloDigitos()) return false;
        switch (tipo) {
        case QEvent::KeyPress:
            if (!static_cast<QKeyEvent*>(evento)->matches(QKeySequence::Paste)) return false;
            Pegar(QApplication::clipboard()->text());
            return true;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(evento)->button() != Qt::MiddleButton ||
                !QApplication::clipboard()->supportsSelection())
                return false;
            // The press has put the cursor where the button is.
            m_caja->deselect();
            Pegar(QApplication::clipboard()->text(QClipboard::Selection));
            return true;
        case QEvent::ContextMenu: {
            QMenu* menu = m_caja->createStandardContextMenu();
            for (QAction* a : menu->actions())
                if (EsPegar(a)) {
                    a->disconnect(m_caja);
                    connect(a, &QAction::triggered, this, [this] { Pegar(QApplication::clipboard()->text()); });
                }
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(static_cast<QContextMenuEvent*>(evento)->globalPos());
            return true;
        }
        default:
            return Soltar(static_cast<QDropEvent*>(evento));
        }
    }

private:
    // The rule as the keys see it: the ten digits and no other printable character.
    bool SoloDigitos() const
    {
        for (char16_t u = 0x20; u <= 0xFF; ++u)
            if (u < 0x7F || u >= 0xA0)
                if (m_acepta(QChar(u)) != EsDigito(QChar(u))) return false;
        return true;
    }

    std::optional<QString> Admitido(const QString& pegado) const
    {
        const QString limpio = SinSeparadores(pegado);
        for (const QChar c : limpio)
            if (!m_acepta(c)) return std::nullopt;
        if (m_caja->text().size() - m_caja->selectionLength() + limpio.size() > m_caja->maxLength()) return std::nullopt;
        return limpio;
    }

    void Pegar(const QString& pegado)
    {
        if (pegado.isEmpty()) return;
        if (const auto limpio = Admitido(pegado)) m_caja->insert(*limpio);
        else QApplication::beep();
    }

    bool Soltar(QDropEvent* e)
    {
        const QMimeData* datos = e->mimeData();
        if (!datos || !datos->hasText()) return false;
        const QString texto = datos->text();
        // A move within the box brings nothing new: the box does it.
        if (e->source() == m_caja) return false;
        const auto limpio = Admitido(texto);
        // The drag's cursor goes as when the box takes the drop itself.
        QDragLeaveEvent fin;
        QCoreApplication::sendEvent(m_caja, &fin);
        if (!limpio) {
            QApplication::beep();
            e->ignore();
            return true;
        }
        m_caja->setCursorPosition(m_caja->cursorPositionAt(e->position().toPoint()));
        m_caja->insert(*limpio);
        m_caja->setFocus(Qt::MouseFocusReason);
        e->acceptProposedAction();
        return true;
    }

    QLineEdit* m_caja;
    std::function<bool(QChar)> m_acepta;
};

}

QString SinSeparadores(const QString& pegado)
{
    QString t = pegado;
    if (t.endsWith(QLatin1String("\r\n"))) t.chop(2);
    else if (t.endsWith(QLatin1Char('\r')) || t.endsWith(QLatin1Char('\n'))) t.chop(1);
    QString r;
    r.reserve(t.size());
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c == QLatin1Char(' ') || c == QChar(0xA0)) continue;
        if (c == QLatin1Char('-') && i > 0 && i + 1 < t.size() && EsDigito(t.at(i - 1)) && EsDigito(t.at(i + 1))) continue;
        r += c;
    }
    return r;
}

int CaracterTecleado(const QKeyEvent* tecla)
{
    if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) return 13;
    if (tecla->key() == Qt::Key_Backspace) return 8;
    if (tecla->matches(QKeySequence::Paste)) return 22;
    // A shortcut types nothing, whatever character comes with it ("\x01" with Ctrl+A).
    if (tecla->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return 0;
    const QString t = tecla->text();
    return t.size() == 1 && t.at(0).isPrint() ? t.at(0).unicode() : 0;
}

bool BotonDeCierre(const QWidget* boton)
{
    if (!boton) return false;
    const QString n = boton->objectName();
    return n == QLatin1String("cmdCancel") || n == QLatin1String("cmdCancelar") || n == QLatin1String("cmdCerrar") ||
           boton->property(kCierra).toBool();
}

bool TieneCajaDeTexto(const QWidget* ventana)
{
    if (!ventana) return false;
    // A box only shown (a ticket, a report) is not typed into.
    for (const QLineEdit* t : ventana->findChildren<QLineEdit*>())
        if (!t->isReadOnly()) return true;
    for (const QPlainTextEdit* t : ventana->findChildren<QPlainTextEdit*>())
        if (!t->isReadOnly()) return true;
    for (const QTextEdit* t : ventana->findChildren<QTextEdit*>())
        if (!t->isReadOnly()) return true;
    return false;
}

void PrepararVentana(QWidget* ventana)
{
    if (!ventana) return;
    const bool conTexto = TieneCajaDeTexto(ventana);
    auto* vigilante = new VerificaAtajos(ventana);
    for (QAbstractButton* b : ventana->findChildren<QAbstractButton*>()) {
        if (auto* p = qobject_cast<QPushButton*>(b); p && conTexto) {
            p->setAutoDefault(false);
            p->setDefault(false);
        }
        if (BotonDeCierre(b)) {
            if (b->focusPolicy() & Qt::ClickFocus) b->setFocusPolicy(Qt::TabFocus);
            continue;
        }
        b->installEventFilter(vigilante);
    }
}

void ReglaDeCaracteres(QLineEdit* caja, std::function<bool(QChar)> acepta)
{
    if (!caja) return;
    caja->setValidator(new ValidadorCaracteres(acepta, caja));
    caja->installEventFilter(new PegadoNumerico(caja, std::move(acepta)));
}

}
