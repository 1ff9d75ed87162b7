#include "platform/ReglasEntrada.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcutEvent>
#include <QTextEdit>
#include <QVariant>
#include <QValidator>

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
    if (caja) caja->setValidator(new ValidadorCaracteres(std::move(acepta), caja));
}

}
