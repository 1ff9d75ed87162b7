#include "platform/Salida.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace Salida {

namespace {
bool g_solicitada = false;
int g_codigo = 0;
int g_tubo[2] = {-1, -1};
std::function<void()> g_alTerminar;

// Only async-signal-safe work here: one byte into the pipe.
void manejador(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_tubo[1], &c, 1);
}
}

void Solicitar(int codigo)
{
    if (!g_solicitada) {
        g_solicitada = true;
        g_codigo = codigo;
    }
    // Only a running loop is told: an exit asked for with none running would make every later
    // loop return at once. Before the loop main() sees the request and never enters it.
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(g_codigo);
}

bool Solicitada() { return g_solicitada; }
int Codigo() { return g_codigo; }

void Reiniciar()
{
    g_solicitada = false;
    g_codigo = 0;
}

void InstalarSenales(std::function<void()> alTerminar)
{
    g_alTerminar = std::move(alTerminar);
    if (g_tubo[0] < 0) {
        if (::pipe(g_tubo) != 0) return;
        ::fcntl(g_tubo[0], F_SETFD, FD_CLOEXEC);
        ::fcntl(g_tubo[1], F_SETFD, FD_CLOEXEC);
        ::fcntl(g_tubo[1], F_SETFL, O_NONBLOCK);
        auto* aviso = new QSocketNotifier(g_tubo[0], QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(aviso, &QSocketNotifier::activated, aviso, [] {
            char c;
            [[maybe_unused]] const ssize_t n = ::read(g_tubo[0], &c, 1);
            if (g_alTerminar) g_alTerminar();
        });
    }
    struct sigaction sa = {};
    sa.sa_handler = manejador;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
}

}
