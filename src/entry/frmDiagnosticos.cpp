#include "entry/frmDiagnosticos.h"

#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsDiagnosticos.h"
#include "platform/Dialogs.h"
#include "platform/ReglasEntrada.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmDiagnosticos::frmDiagnosticos(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDiagnosticos"));
    setWindowTitle(QStringLiteral("Diagnósticos"));
    lvwDiagnosticos = new QTreeWidget(this);
    lvwDiagnosticos->setObjectName(QStringLiteral("lvwDiagnosticos"));
    lvwDiagnosticos->setRootIsDecorated(false);
    lvwDiagnosticos->setAllColumnsShowFocus(true);
    lvwDiagnosticos->setHeaderLabels({QStringLiteral("Código"), QStringLiteral("Descripción")});
    cmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setAutoDefault(false);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);
    auto* capa = new QVBoxLayout(this);
    capa->addWidget(lvwDiagnosticos, 1);
    capa->addLayout(botones);
    resize(520, 400);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmDiagnosticos::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmDiagnosticos::cmdCancelar_Click);
    connect(lvwDiagnosticos, &QTreeWidget::itemDoubleClicked, this, [this] { cmdAceptar_Click(); });
    ReglasEntrada::PrepararVentana(this);
}

QString frmDiagnosticos::Mostrar()
{
    m_codigo.clear();
    Form_Load();
    Dialogs::ExecModal(this);
    return m_codigo;
}

void frmDiagnosticos::Form_Load()
{
    lvwDiagnosticos->clear();
    try {
        const auto cfg = General::gConfig;
        const auto lista = cfg ? cfg->DiagnosticosCol() : nullptr;
        for (int i = 1; lista && i <= lista->Count(); ++i) {
            const auto& d = lista->Item_(i);
            lvwDiagnosticos->addTopLevelItem(new QTreeWidgetItem(QStringList{d->Codigo, d->Diagnostico}));
        }
    } catch (const std::exception&) {
        // A list that cannot be read whole still offers what it gave.
    }
}

void frmDiagnosticos::cmdAceptar_Click()
{
    for (int i = 0; i < lvwDiagnosticos->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* fila = lvwDiagnosticos->topLevelItem(i);
        if (fila->isSelected()) {
            m_codigo = fila->text(0);
            break;
        }
    }
    accept();
}

void frmDiagnosticos::cmdCancelar_Click()
{
    m_codigo.clear();
    reject();
}
