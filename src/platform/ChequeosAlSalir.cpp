#include "platform/ChequeosAlSalir.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

ChequeosAlSalir::ChequeosAlSalir(QWidget* ventana) : QObject(ventana), m_ventana(ventana)
{
    ventana->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &ChequeosAlSalir::FocoCambiado);
}

void ChequeosAlSalir::Agregar(QWidget* campo, std::function<void()> chequeo)
{
    m_chequeos.insert(campo, std::move(chequeo));
}

void ChequeosAlSalir::Reanudar()
{
    m_cerrando = false;
    m_pendiente.clear();
}

bool ChequeosAlSalir::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == m_ventana) {
        if (evento->type() == QEvent::Close) Cerrando();
        else if (evento->type() == QEvent::Show) Reanudar();
    }
    return false;
}

void ChequeosAlSalir::FocoCambiado(QWidget* anterior, QWidget* actual)
{
    // A check's own message moves the focus too.
    if (m_verificando || m_cerrando) return;
    const bool dejado = anterior && m_chequeos.contains(anterior);
    if (!actual || !m_ventana->isAncestorOf(actual)) {
        if (dejado) m_pendiente = anterior;
        return;
    }
    QWidget* campo = dejado ? anterior : m_pendiente.data();
    m_pendiente.clear();
    if (!campo || campo == actual) return;
    const auto chequeo = m_chequeos.value(campo);
    struct Fin {
        bool& b;
        ~Fin() { b = false; }
    } fin{m_verificando};
    m_verificando = true;
    chequeo();
}
