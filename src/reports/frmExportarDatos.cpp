#include "reports/frmExportarDatos.h"

#include "engine/General.h"
#include "platform/ChequeosAlSalir.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "reports/frmControlFecha.h"
#include "reports/modExportarDatos.h"
#include "shell/frmConfigurar.h"
#include "platform/ReglasEntrada.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
template <typename W>
W* Control(W* w, const char* nombre)
{
    w->setObjectName(QString::fromLatin1(nombre));
    return w;
}

const QString kFormatoFecha = QStringLiteral("dd/MM/yyyy");
}

// The folder list fills in the background and sorts each folder's rows as they come, which
// moves the chosen folder out of sight: until the user touches the list, it is brought back.
class SeguimientoCarpeta : public QObject {
public:
    SeguimientoCarpeta(QTreeView* arbol, QFileSystemModel* modelo) : QObject(arbol), m_arbol(arbol)
    {
        connect(modelo, &QAbstractItemModel::layoutChanged, this, &SeguimientoCarpeta::Mostrar);
        connect(modelo, &QFileSystemModel::directoryLoaded, this, &SeguimientoCarpeta::Mostrar);
        for (QObject* o : {static_cast<QObject*>(arbol), static_cast<QObject*>(arbol->viewport()),
                           static_cast<QObject*>(arbol->verticalScrollBar())})
            o->installEventFilter(this);
    }
    void Seguir()
    {
        m_seguir = true;
        Mostrar();
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        const QEvent::Type t = e->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::Wheel || t == QEvent::KeyPress) m_seguir = false;
        return false;
    }

private:
    void Mostrar()
    {
        if (m_seguir) m_arbol->scrollTo(m_arbol->currentIndex(), QAbstractItemView::PositionAtCenter);
    }

    QTreeView* m_arbol;
    bool m_seguir = false;
};

frmExportarDatos::frmExportarDatos(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmExportarDatos"));
    setWindowTitle(QStringLiteral("Exportar datos"));

    cmdExportar << Control(new QPushButton(QStringLiteral("Exportar &xls"), this), "cmdExportar")
                << Control(new QPushButton(QStringLiteral("&Exportar txt"), this), "cmdExportar");
    Drive1 = Control(new QComboBox(this), "Drive1");
    dir1 = Control(new QTreeView(this), "dir1");
    m_carpetas = new QFileSystemModel(this);
    m_carpetas->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_carpetas->setRootPath(QDir::rootPath());
    dir1->setModel(m_carpetas);
    for (int c = 1; c < m_carpetas->columnCount(); ++c) dir1->hideColumn(c);
    dir1->header()->hide();
    m_seguimiento = new SeguimientoCarpeta(dir1, m_carpetas);
    frmFechas = Control(new QGroupBox(QStringLiteral("Rango de fechas"), this), "frmFechas");
    txtFechaHasta = Control(new QLineEdit(frmFechas), "txtFechaHasta");
    txtFechaDesde = Control(new QLineEdit(frmFechas), "txtFechaDesde");
    for (int i = 0; i < 2; ++i) Label3 << Control(new QLabel(QStringLiteral("(dd/mm/aaaa)"), frmFechas), "Label3");
    Label1 << Control(new QLabel(QStringLiteral("Desde"), frmFechas), "Label1")
           << Control(new QLabel(QStringLiteral("Hasta"), frmFechas), "Label1");
    cmdCerrar = Control(new QPushButton(QStringLiteral("&Cerrar"), this), "cmdCerrar");
    lblObraSocial = Control(new QLabel(this), "lblObraSocial");
    lblTitulo = Control(new QLabel(QStringLiteral("Formato "), this), "lblTitulo");
    lblDestino = Control(new QLabel(QStringLiteral("Destino"), this), "lblDestino");
    // A long path is cut at the right rather than widen the window; its tip shows it whole.
    lblDestino->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    connect(dir1->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        const QString carpeta = QDir::toNativeSeparators(CarpetaDestino());
        lblDestino->setText(QStringLiteral("Destino: ") + carpeta);
        lblDestino->setToolTip(carpeta);
    });

    auto* fechas = new QGridLayout(frmFechas);
    fechas->addWidget(Label1[0], 0, 0);
    fechas->addWidget(txtFechaDesde, 0, 1);
    fechas->addWidget(Label3[0], 0, 2);
    fechas->addWidget(Label1[1], 1, 0);
    fechas->addWidget(txtFechaHasta, 1, 1);
    fechas->addWidget(Label3[1], 1, 2);

    auto* destino = new QVBoxLayout;
    destino->addWidget(lblDestino);
    destino->addWidget(Drive1);
    destino->addWidget(dir1, 1);
    auto* derecha = new QVBoxLayout;
    derecha->addWidget(lblObraSocial);
    derecha->addWidget(frmFechas);
    derecha->addStretch();
    derecha->addWidget(cmdExportar[1]);
    derecha->addWidget(cmdExportar[0]);
    derecha->addWidget(cmdCerrar);
    auto* cuerpo = new QHBoxLayout;
    cuerpo->addLayout(destino, 1);
    cuerpo->addLayout(derecha);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(lblTitulo);
    todo->addLayout(cuerpo, 1);

    // A press on an export button checks the date left first, and a refused one drops it.
    auto* salida = new ChequeosAlSalir(this);
    salida->Agregar(txtFechaDesde, [this] { txtFechaDesde_LostFocus(); });
    salida->Agregar(txtFechaHasta, [this] { txtFechaHasta_LostFocus(); });
    connect(cmdExportar[0], &QPushButton::clicked, this, [this] { cmdExportar_Click(0); });
    connect(cmdExportar[1], &QPushButton::clicked, this, [this] { cmdExportar_Click(1); });
    connect(cmdCerrar, &QPushButton::clicked, this, &frmExportarDatos::cmdCerrar_Click);
    connect(Drive1, QOverload<int>::of(&QComboBox::activated), this, &frmExportarDatos::Drive1_Change);
    ReglasEntrada::PrepararVentana(this);
}

void frmExportarDatos::Inicio(qint32 formato)
{
    const modExportarDatos::Rotulos r = modExportarDatos::RotulosDeFormato(formato);
    if (r.titulo.isEmpty()) {
        lblTitulo->clear();
    } else {
        m_formato = QString::number(formato);
        lblTitulo->setText(r.titulo);
        lblObraSocial->setText(r.obraSocial);
    }
    if (auto* s = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        s->setWindowTitle(r.titulo.isEmpty() ? windowTitle() : r.titulo);
        s->show();
    } else {
        show();
    }
}

void frmExportarDatos::Form_Load()
{
    if (auto* s = qobject_cast<QMdiSubWindow*>(parentWidget())) s->move(Twips::APixeles(kIzquierda), 0);
    if (MDIForm_Resize) MDIForm_Resize();
    lblTitulo->setFont(QApplication::font(frmConfigurar::staticMetaObject.className()));
    lblTitulo->setAutoFillBackground(true);
    QPalette paleta = lblTitulo->palette();
    paleta.setColor(QPalette::Window, QApplication::palette().color(QPalette::Active, QPalette::Highlight));
    paleta.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::Active, QPalette::HighlightedText));
    lblTitulo->setPalette(paleta);

    const QDate hoy = Platform::Now().date();
    txtFechaDesde->setText(hoy.addMonths(-1).toString(kFormatoFecha));
    txtFechaHasta->setText(hoy.toString(kFormatoFecha));

    Drive1->clear();
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid()) Drive1->addItem(v.rootPath(), v.rootPath());
    const int actual = Drive1->findData(QStorageInfo(QDir::currentPath()).rootPath());
    Drive1->setCurrentIndex(actual);
    setCarpetaDestino(QDir::currentPath());
}

void frmExportarDatos::Drive1_Change()
{
    const QString raiz = Drive1->currentData().toString();
    const QStorageInfo volumen(raiz);
    if (!volumen.isValid() || !volumen.isReady() || !QDir(raiz).isReadable()) {
        // The folder list keeps its folder; the drive list goes back to it.
        Dialogs::MsgBox(QStringLiteral("No se puede leer la unidad ") + raiz, Vbc::vbInformation, Dialogs::kAppTitle);
        Drive1->setCurrentIndex(Drive1->findData(QStorageInfo(CarpetaDestino()).rootPath()));
        return;
    }
    setCarpetaDestino(raiz);
}

QString frmExportarDatos::CarpetaDestino() const
{
    const QModelIndex i = dir1->currentIndex();
    return i.isValid() ? m_carpetas->filePath(i) : QDir::currentPath();
}

void frmExportarDatos::setCarpetaDestino(const QString& carpeta)
{
    const QModelIndex i = m_carpetas->index(carpeta);
    dir1->collapseAll();
    dir1->setCurrentIndex(i);
    dir1->expand(i);
    m_seguimiento->Seguir();
}

bool frmExportarDatos::VerificarFecha(QLineEdit* campo, const QString& mensaje)
{
    const QString texto = campo->text();
    if (Vb::Trim(texto).isEmpty() || Vb::ParseDate(Vb::Trim(texto)).isValid()) return true;
    Dialogs::MsgBox(mensaje, Vbc::vbInformation, Dialogs::kAppTitle);
    campo->setFocus();
    campo->selectAll();
    return false;
}

bool frmExportarDatos::txtFechaDesde_LostFocus()
{
    return VerificarFecha(txtFechaDesde, QStringLiteral("Fecha desde inválida"));
}

bool frmExportarDatos::txtFechaHasta_LostFocus()
{
    return VerificarFecha(txtFechaHasta, QStringLiteral("Fecha hasta inválida"));
}

void frmExportarDatos::cmdExportar_Click(qint16 Index)
{
    const QString datosIncorrectos = QStringLiteral("Datos incorrectos");
    const QString obraSocial = Vb::Trim(lblObraSocial->text());
    QString empresa, ruta;
    modExportarDatos::Resultado r;
    try {
        const QString desde = Vb::Trim(txtFechaDesde->text());
        const QString hasta = Vb::Trim(txtFechaHasta->text());
        if (desde.isEmpty() || hasta.isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("La fecha no puede quedar vacía"), Vbc::vbInformation, datosIncorrectos);
            return;
        }
        const QDate fechaDesde = modExportarDatos::FechaDeCampo(desde);
        const QDate fechaHasta = modExportarDatos::FechaDeCampo(hasta);
        if (fechaDesde.daysTo(fechaHasta) < 0) {
            Dialogs::MsgBox(QStringLiteral("La fecha desde debe ser inferior a la fecha hasta"), Vbc::vbInformation,
                            datosIncorrectos);
            return;
        }
        empresa = Vb::Trim(CodigoEmpresa ? CodigoEmpresa() : QString());
        if (empresa.isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar alguna Obra Social\r\nde la ventana de la derecha."),
                            Vbc::vbCritical, Dialogs::kAppTitle);
            return;
        }
        const auto consulta = modExportarDatos::ArmarConsulta(m_formato.toInt(), fechaDesde, fechaHasta, empresa);
        if (!General::ConexionBD) General::ConexionBD = std::make_shared<Database>();
        if (!General::ConexionBD->IsOpen()) General::ConexionBD->OpenStreaming();
        if (Index == 1) {
            ruta = modExportarDatos::ArchivoTexto(CarpetaDestino(), obraSocial, Platform::Now().date());
            r = modExportarDatos::ExportarTexto(*General::ConexionBD, m_formato.toInt(), consulta, ruta);
        } else {
            ruta = modExportarDatos::ArchivoLibro();
            r = modExportarDatos::ExportarExcel(*General::ConexionBD, consulta, ruta);
        }
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical,
                        QStringLiteral("Error al leer las transacciones para armar el archivo"));
        return;
    }
    if (!r.hayDatos) {
        Dialogs::MsgBox(QStringLiteral("No se encontraron datos para esas fechas, para ") + obraSocial,
                        Vbc::vbInformation, QStringLiteral("Consulta"));
        return;
    }
    if (!r.escrito) {
        // The purge would delete rows that are in no file.
        Dialogs::MsgBox(QStringLiteral("No se pudo generar el archivo ") + ruta + QStringLiteral(": ") + r.error,
                        Vbc::vbCritical, Dialogs::kAppTitle);
        return;
    }
    Dialogs::MsgBox(QStringLiteral("El archivo ") + ruta + QStringLiteral(" se generó éxito"), Vbc::vbInformation);
    frmControlFecha::Mostrar(empresa, window());
}

void frmExportarDatos::cmdCerrar_Click()
{
    if (auto* s = qobject_cast<QMdiSubWindow*>(parentWidget()))
        s->close();
    else
        close();
}
