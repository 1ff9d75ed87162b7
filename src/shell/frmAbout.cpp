#include "shell/frmAbout.h"

#include "config/modRegistry.h"
#include "platform/Dialogs.h"
#include "platform/Emblema.h"
#include "platform/Paths.h"
#include "platform/Procesos.h"
#include "shell/ProgramasExternos.h"
#include "platform/ReglasEntrada.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

const QString kEmpresa = QStringLiteral("Corvanda");
const QString kAvisoLegal = QStringLiteral("© Corvanda. Todos los derechos reservados.");
const QString kComentarios = QStringLiteral("Terminal de operaciones con obras sociales y prepagas.");
const QString kSinInformacion = QStringLiteral("System Information Is Unavailable At This Time");
// The longest value the system-information lookup reads, its closing NUL included.
constexpr int kBufferValor = 1024;

bool Iniciar(const QString& programa) { return Procesos::IniciarSeparado(programa, QFileInfo(programa).path()) == 0; }

}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titulo = lblTitle->font();
    titulo.setPointSize(titulo.pointSize() + 6);
    titulo.setBold(true);
    lblTitle->setFont(titulo);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription = new QLabel(this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDisclaimer = new QLabel(this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(EmblemaPrograma());
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    cmdOK = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&Sistema..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdActualizar = new QPushButton(QStringLiteral("Actualizar Quorvan..."), this);
    cmdActualizar->setObjectName(QStringLiteral("cmdActualizar"));

    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(cmdActualizar);
    botones->addWidget(cmdSysInfo);
    botones->addWidget(cmdOK);
    auto* grilla = new QGridLayout(this);
    grilla->setHorizontalSpacing(16);
    grilla->addWidget(picIcon, 0, 0, 4, 1);
    grilla->addWidget(lblTitle, 0, 1);
    grilla->addWidget(lblVersion, 1, 1);
    grilla->addWidget(lblDescription, 2, 1);
    grilla->addWidget(lblDisclaimer, 3, 1);
    grilla->setRowStretch(3, 1);
    grilla->setColumnStretch(1, 1);
    grilla->addLayout(botones, 4, 0, 1, 2);
    setMinimumWidth(440);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    connect(cmdActualizar, &QPushButton::clicked, this, &frmAbout::cmdActualizar_Click);
    ReglasEntrada::PrepararVentana(this);
}

QString frmAbout::LineaVersion(const Platform::Version& v)
{
    return QStringLiteral("Versión %1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision);
}

QString frmAbout::Descripcion() { return kEmpresa + QLatin1Char('\n') + kAvisoLegal + QLatin1Char('\n') + kComentarios; }

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("Acerca de ") + Dialogs::kAppTitle);
    lblTitle->setText(Dialogs::kAppTitle);
    lblVersion->setText(LineaVersion(Platform::ProgramVersion()));
    lblDescription->setText(Descripcion());
    lblDisclaimer->clear();
}

void frmAbout::cmdOK_Click() { close(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::cmdActualizar_Click()
{
    close();
    ProgramasExternos::EjecutarActualizador();
}

void frmAbout::StartSysInfo()
{
    try {
        QString ruta;
        if (GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                        QStringLiteral("PATH"), ruta)) {
            if (Iniciar(ruta)) return;
        } else if (GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                               QStringLiteral("MSINFO"), ruta)) {
            const QString programa = Paths::Join(ruta, QStringLiteral("MSINFO32.EXE"));
            if (QFileInfo::exists(programa) && Iniciar(programa)) return;
        }
    } catch (const std::exception&) {
    }
    Dialogs::MsgBox(kSinInformacion, Vbc::vbOKOnly);
}

bool frmAbout::GetKeyValue(qint32 KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal)
{
    qint32 tipo = 0;
    QString texto;
    if (KeyRoot != HKEY_LOCAL_MACHINE || !modRegistry::LeerValorClave(KeyName, SubKeyRef, tipo, texto) ||
        (tipo == modRegistry::REG_SZ && texto.size() >= kBufferValor)) {
        KeyVal.clear();
        return false;
    }
    if (tipo == modRegistry::REG_SZ)
        KeyVal = texto;
    else if (tipo == modRegistry::REG_DWORD)
        // Every byte in two digits, the highest first: 0x105 is "&h00000105".
        KeyVal = QStringLiteral("&h") +
                 QStringLiteral("%1").arg(static_cast<quint32>(texto.toInt()), 8, 16, QLatin1Char('0')).toUpper();
    return true;
}
