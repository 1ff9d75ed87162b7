#pragma once
#include "platform/AjustesUsuario.h"
#include "platform/Procesos.h"
#include "platform/ReemplazoArchivo.h"
#include "platform/Salida.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "updater/InstalacionPrograma.h"
#include "updater/frmUpgradeWizard.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// A working folder with "tx", Quorvan's setting pointing at it, an old program file, a
// recorded program start and scripted dialogs. Every end of the wizard is an exit request,
// which the fixture forgets afterwards.
class Asistente : public ::testing::Test {
protected:
    TempFolder wf;
    ScriptedDialogs dlg;
    QString programa;
    QList<QPair<QString, QString>> iniciados;

    void SetUp() override
    {
        wf.mkdir(QStringLiteral("tx"));
        wf.write(QStringLiteral("prog/Quorvan"), QByteArray("programa viejo"));
        programa = wf.file(QStringLiteral("prog/Quorvan"));
        QFile::setPermissions(programa, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                            QFile::ExeGroup);
        AjustesUsuario::Guardar(QStringLiteral("Quorvan"), QStringLiteral("LastTarsk"), QStringLiteral("1"), wf.path());
        Procesos::setIniciador([this](const QString& p, const QStringList&, const QString& c) {
            iniciados.append({p, c});
            return 0;
        });
        InstalacionPrograma::setPausaMs(1);
    }

    void TearDown() override
    {
        Procesos::setIniciador({});
        ReemplazoArchivo::setRenombrar({});
        InstalacionPrograma::setPausaMs(500);
        AjustesUsuario::Guardar(QStringLiteral("Quorvan"), QStringLiteral("LastTarsk"), QStringLiteral("1"), QString());
        OlvidarSalida();
    }

    // An exit request also stops every event loop of the thread until the application loop
    // has run once; a test process never runs it otherwise.
    static void OlvidarSalida()
    {
        if (Salida::Solicitada()) {
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
            QCoreApplication::exec();
        }
        Salida::Reiniciar();
    }

    QStringList Argumentos(const QString& version = QStringLiteral("3.1.7")) const
    {
        return {wf.path(), version, programa, QString(), QStringLiteral("0.0.0")};
    }

public:
    // Runs events until `cond` holds or `ms` pass.
    static bool Hasta(const std::function<bool()>& cond, int ms = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (!cond()) {
            if (t.elapsed() > ms) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(2);
        }
        return true;
    }

protected:
    // The client's answer, written by hand: the offered files, "_druvex.upg", then the status.
    void Responder(const QByteArray& estado, const QByteArray& registros = QByteArray(),
                   const QMap<QString, QByteArray>& ofrecidos = {}) const
    {
        for (auto it = ofrecidos.begin(); it != ofrecidos.end(); ++it)
            wf.write(QStringLiteral("termupg/download/") + it.key(), it.value());
        if (!registros.isNull()) wf.write(QStringLiteral("termupg/download/_druvex.upg"), registros);
        wf.write(QStringLiteral("termupg/estado.tmp"), estado);
        QFile::rename(wf.file(QStringLiteral("termupg/estado.tmp")), wf.file(QStringLiteral("termupg/estado.rsp")));
    }

    QString Marcador() const { return wf.file(QStringLiteral("tx/_Quorvan.end")); }
};

// Plays Quorvan's exit: removes the wizard's close marker each time it appears (after `veces`
// sightings it stops), counting them.
class QuorvanCierra : public QObject {
public:
    explicit QuorvanCierra(QString marcador, std::function<void()> alVerlo = {})
        : m_Marcador(std::move(marcador)), m_AlVerlo(std::move(alVerlo))
    {
        m_Timer.setInterval(5);
        QObject::connect(&m_Timer, &QTimer::timeout, this, [this] {
            if (!QFile::exists(m_Marcador)) return;
            ++vistos;
            if (m_AlVerlo) m_AlVerlo();
            else QFile::remove(m_Marcador);
        });
        m_Timer.start();
    }
    int vistos = 0;

private:
    QString m_Marcador;
    std::function<void()> m_AlVerlo;
    QTimer m_Timer;
};
