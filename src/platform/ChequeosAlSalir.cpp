#include "platform/ChequeosAlSalir.h"

#include "platform/ReglasEntrada.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

ChequeosAlSalir::ChequeosAlSalir(QWidget* ventana) : QObject(ventana), m_ventana(ventana)
{
    ventana->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &ChequeosAlSalir::FocoCambiado);
}

void ChequeosAlSalir::Agregar(QWidget* campo, std::function<void()> chequeo, QList<QWidget*> propios)
{
    m_chequeos.insert(campo, {std::move(chequeo), std::move(propios)});
}

void ChequeosAlSalir::AgregarValidacion(QWidget* campo, std::function<void(bool&)> validar, QList<QWidget*> propios)
{
    Agregar(
        campo,
        [campo, validar = std::move(validar)] {
            bool cancelar = false;
            validar(cancelar);
            if (cancelar) campo->setFocus();
        },
        std::move(propios));
}

void ChequeosAlSalir::Reanudar()
{
    m_cerrando = false;
    m_pendiente.clear();
}

bool ChequeosAlSalir::EnVentana(const QObject* objeto) const
{
    if (!objeto->isWidgetType()) return false;
    const auto* w = static_cast<const QWidget*>(objeto);
    return w == m_ventana || m_ventana->isAncestorOf(w);
}

bool ChequeosAlSalir::eventFilter(QObject* objeto, QEvent* evento)
{
    const QEvent::Type tipo = evento->type();
    if (objeto == m_ventana) {
        if (tipo == QEvent::Close) Cerrando();
        else if (tipo == QEvent::Show) Reanudar();
    }
    switch (m_descarte) {
    case Descarte::Ninguno:
        return false;
    case Descarte::Pulsacion:
        if (tipo == QEvent::KeyPress) TerminarDescarte();
        if ((tipo != QEvent::MouseButtonPress && tipo != QEvent::MouseButtonDblClick) || !EnVentana(objeto))
            return false;
        m_descarte = Descarte::Soltar;
        return true;
    case Descarte::Soltar:
        // A new press: the release went elsewhere (a message took the mouse).
        if (tipo == QEvent::MouseButtonPress || tipo == QEvent::MouseButtonDblClick) TerminarDescarte();
        if ((tipo != QEvent::MouseMove && tipo != QEvent::MouseButtonRelease) || !EnVentana(objeto)) return false;
        if (tipo == QEvent::MouseButtonRelease) TerminarDescarte();
        return true;
    }
    return false;
}

void ChequeosAlSalir::DescartarClic()
{
    // The press that moved the focus comes right after this change; a change by a key has none.
    if (m_descarte == Descarte::Ninguno) qApp->installEventFilter(this);
    m_descarte = Descarte::Pulsacion;
    QTimer::singleShot(0, this, [this] {
        if (m_descarte == Descarte::Pulsacion) TerminarDescarte();
    });
}

void ChequeosAlSalir::TerminarDescarte()
{
    m_descarte = Descarte::Ninguno;
    qApp->removeEventFilter(this);
}

void ChequeosAlSalir::FocoCambiado(QWidget* anterior, QWidget* actual)
{
    // A check's own message moves the focus too.
    if (m_verificando || m_cerrando) return;
    const bool dejado = anterior && m_chequeos.contains(anterior);
    // Tab can bring the focus to a closing button: a way out, like the frame, not another control.
    if (!actual || !m_ventana->isAncestorOf(actual) || ReglasEntrada::BotonDeCierre(actual)) {
        if (dejado) m_pendiente = anterior;
        return;
    }
    QWidget* campo = dejado ? anterior : m_pendiente.data();
    m_pendiente.clear();
    if (!campo || campo == actual) return;
    const Chequeo chequeo = m_chequeos.value(campo);
    if (chequeo.propios.contains(actual)) return;
    struct Fin {
        bool& b;
        ~Fin() { b = false; }
    } fin{m_verificando};
    m_verificando = true;
    chequeo.correr();
    // The window's own focus: after a message box the window is not active again yet, so the
    // application has no focus widget, and the click would still reach what it pressed.
    if (m_ventana->window()->focusWidget() == campo) DescartarClic();
}
