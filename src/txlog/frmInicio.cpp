#include "txlog/frmInicio.h"
#include "config/GeneralConfiguracion.h"

#include "config/Coleccion.h"
#include "config/GeneralCombos.h"
#include "config/clsConfig.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "platform/Codec1252.h"
#include "platform/Dialogs.h"
#include "platform/Lineas.h"
#include "platform/Paths.h"
#include "platform/SinEnlaces.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "txlog/ModeloTransacciones.h"
#include "txlog/clsTransacciones.h"
#include "txlog/frmTicket.h"
#include "txlog/modEnvioTicket.h"
#include "txlog/modTickets.h"

#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QMouseEvent>
#include <QTreeView>
#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <vector>

namespace {

const QString kOrigen = QStringLiteral("Quorvan.frmInicio");
constexpr qint32 kOperacionReimpresion = 80;
constexpr int kIzquierda = 1365;
constexpr int kAltoMinimo = 7260;
constexpr int kAnchoMinimo = 6015;
constexpr int kColumnas = 8;

QIcon Circulo(const QColor& color, bool cruz)
{
    QPixmap px(16, 16);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(color.darker(140));
    p.setBrush(color);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(Qt::white, 2));
    if (cruz) {
        p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
        p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
    } else {
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5.5)}));
    }
    return QIcon(px);
}

struct NombreDeCodigos {
    QList<int> codigos;
    const char* nombre;
};

const QList<NombreDeCodigos>& TablaOperaciones()
{
    static const QList<NombreDeCodigos> tabla = {
        {{2, 3, 12, 22, 32, 62, 63}, "Anulación"},
        {{4, 14, 24, 34, 43}, "Verificación completa"},
        {{7}, "Consulta transacciones"},
        {{9}, "Cierre lote"},
        {{11, 31}, "Informar prestación"},
        {{15, 35}, "Prestación diferida"},
        {{16}, "Informar prestación pre-autorizada"},
        {{21, 51, 72}, "Solicitar autorización"},
        {{41}, "Verificar afiliado"},
        {{42}, "Verificar afiliado/prestación"},
        {{52}, "Informar prescripción"},
        {{53, 73}, "Rescatar solicitud"},
        {{60}, "Informar internación"},
        {{61}, "Alta internación"},
        {{64}, "Informar cirugía realizada"},
        {{65}, "Envío protocolo quirúrgico"},
        {{66}, "Autorización cirugía"},
        {{80}, "Reimpresión de ticket"},
    };
    return tabla;
}

// The text of a stored ticket as the window shows it: each line preceded by CR LF.
QString LeerTicket(const QString& archivo)
{
    // Through the bounded reader: a pipe or a link swapped in after the window looked is
    // refused, never waited on or followed.
    int error = 0;
    const std::optional<QByteArray> datos = SinEnlaces::LeerArchivo(archivo, SinEnlaces::kLimiteTexto, &error);
    if (!datos)
        throw VbError(VbError::PathFileAccess, kOrigen,
                      QStringLiteral("No se puede leer el archivo %1: %2")
                          .arg(archivo, SinEnlaces::DescribirError(error)));
    QStringList lineas = Lineas::Separar(Codec1252::decode(*datos));
    if (lineas.last().isEmpty()) lineas.removeLast();
    QString texto;
    for (const QString& l : lineas) texto += QStringLiteral("\r\n") + l;
    return texto;
}

}

frmInicio::frmInicio(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmInicio"));
    setWindowTitle(QStringLiteral("Transacciones"));

    ImageList1 = {Circulo(QColor(0x2e, 0x8b, 0x3a), false), Circulo(QColor(0xc6, 0x28, 0x28), true)};

    lblPrestador = new QLabel(QStringLiteral("&Prestador:"), this);
    lblPrestador->setObjectName(QStringLiteral("lblPrestador"));
    cboNombre = new QComboBox(this);
    cboNombre->setObjectName(QStringLiteral("cboNombre"));
    cboNombre->setMinimumContentsLength(28);
    lblPrestador->setBuddy(cboNombre);
    cmdFiltrar = new QPushButton(QStringLiteral("..."), this);
    cmdFiltrar->setObjectName(QStringLiteral("cmdFiltrar"));

    m_Modelo = new ModeloTransacciones(ImageList1, this);
    lvwTransacciones = new QTreeView(this);
    lvwTransacciones->setObjectName(QStringLiteral("lvwTransacciones"));
    lvwTransacciones->setRootIsDecorated(false);
    lvwTransacciones->setUniformRowHeights(true);
    lvwTransacciones->setAllColumnsShowFocus(true);
    lvwTransacciones->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwTransacciones->setModel(m_Modelo);
    lvwTransacciones->header()->setMinimumSectionSize(1);
    lvwTransacciones->header()->setStretchLastSection(false);
    lvwTransacciones->header()->setSectionsClickable(true);
    lvwTransacciones->header()->setSortIndicatorShown(true);
    lvwTransacciones->viewport()->installEventFilter(this);
    lvwTransacciones->installEventFilter(this);

    Frame1 = new QGroupBox(QStringLiteral("Buscar un Ticket"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label3 = new QLabel(QStringLiteral("Nro. de Transacción: "), Frame1);
    Label3->setObjectName(QStringLiteral("Label3"));
    txtNrotransaccion = new QLineEdit(Frame1);
    txtNrotransaccion->setObjectName(QStringLiteral("txtNrotransaccion"));
    txtNrotransaccion->setMaxLength(20);
    cmdBuscar = new QPushButton(QStringLiteral("Buscar..."), Frame1);
    cmdBuscar->setObjectName(QStringLiteral("cmdBuscar"));
    cmdBuscar->setToolTip(QStringLiteral("Busca un ticket que no está en la lista"));
    auto* fila = new QHBoxLayout(Frame1);
    fila->addWidget(Label3);
    fila->addWidget(txtNrotransaccion, 1);
    fila->addWidget(cmdBuscar);

    cmdCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    cmdCerrar->setObjectName(QStringLiteral("cmdCerrar"));

    connect(cmdFiltrar, &QPushButton::clicked, this, &frmInicio::cmdFiltrar_Click);
    connect(cmdBuscar, &QPushButton::clicked, this, &frmInicio::cmdBuscar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &frmInicio::cmdCerrar_Click);
    connect(lvwTransacciones->header(), &QHeaderView::sectionClicked, this,
            [this](int columna) { lvwTransacciones_ColumnClick(columna + 1); });
    // Only a click, a press and a release over the same row, opens a ticket: the current row
    // also moves with the arrow keys and when the list takes the focus.
    connect(lvwTransacciones, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& indice) { lvwTransacciones_ItemClick(indice.row()); });
}

frmInicio::~frmInicio() = default;

QWidget* frmInicio::Ventana()
{
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    return sub ? static_cast<QWidget*>(sub) : this;
}

// ---- Rules ------------------------------------------------------------------------------

QString frmInicio::NombreOperacion(const QString& operacion)
{
    if (!Vb::IsNumeric(operacion)) return Vb::Trim(operacion);
    const double valor = Vb::Val(operacion);
    // Outside the range of int the cast is undefined: no such code has a name.
    if (valor >= std::numeric_limits<int>::min() && valor <= std::numeric_limits<int>::max()) {
        const int codigo = static_cast<int>(valor);
        if (codigo == valor)
            for (const auto& fila : TablaOperaciones())
                if (fila.codigos.contains(codigo)) return QString::fromUtf8(fila.nombre);
    }
    return Vb::Str(valor);
}

QStringList frmInicio::TextosFila(const clsTransacciones& t)
{
    QStringList textos;
    for (int c = 0; c < kColumnas; ++c) textos << ModeloTransacciones::TextoDe(t, c);
    return textos;
}

bool frmInicio::NumeroTicketValido(const QString& texto)
{
    static const QRegularExpression digitos(QStringLiteral("^[0-9]{1,12}$"));
    return digitos.match(Vb::Trim(texto)).hasMatch();
}

const QList<int>& frmInicio::AnchosEnBlancos()
{
    static const QList<int> anchos = {0, 30, 24, 18, 15, 35, 50, 0};
    return anchos;
}

frmInicio::Disposicion frmInicio::CalcularDisposicion(int alto, int ancho)
{
    Disposicion d;
    if (alto < kAltoMinimo) {
        d.altoNuevo = kAltoMinimo;
    } else if (ancho < kAnchoMinimo) {
        d.anchoNuevo = kAnchoMinimo;
    } else {
        d.listaTop = 620;
        d.listaAncho = ancho - 120;
        d.listaAlto = alto - 1800;
        d.frameTop = d.listaAlto + 680;
        d.cerrarLeft = ancho - 1335;
        d.cerrarTop = alto - 615;
    }
    return d;
}

std::shared_ptr<clsTransacciones> frmInicio::TransaccionDeFila(int fila) const { return m_Modelo->Transaccion(fila); }

QString frmInicio::TextoDeFila(int fila, int columna) const { return m_Modelo->Texto(fila, columna - 1); }

// ---- Loading and layout -------------------------------------------------------------------

void frmInicio::Form_Load()
{
    try {
        Ventana()->move(Twips::APixeles(kIzquierda), 0);
        if (DistribuirVentanas) DistribuirVentanas();

        cboNombre->clear();
        if (General::gConfig) General::CargarComboPrestadores(cboNombre);
        cboNombre->addItem(QStringLiteral("TODOS"), 0);
        cboNombre->setCurrentIndex(cboNombre->count() - 1);

        // The window outlives its closings: a provider looked up before must not filter a list
        // whose choice shows "TODOS".
        m_Cuit.clear();
        m_Licencia.clear();
        // Sorted ascending by the hidden date-and-time key, and kept sorted.
        m_ColumnaOrden = 8;
        m_Descendente = false;
        CargarListaTransacciones();
        lvwTransacciones->setColumnWidth(kColumnas - 1, 0);
        lvwTransacciones->setColumnHidden(kColumnas - 1, true);
    } catch (const std::exception& e) {
        modEnvioTicket::MostrarErrorInesperado(e);
    }
}

void frmInicio::CargarListaTransacciones()
{
    // The rows shown go first: a reload never holds two histories at once.
    m_Modelo->Vaciar();
    if (!General::gConfig) return;
    General::gConfig->LoadFilasTransacciones(m_Cuit, m_Modelo->Filas());
    // In the list's order, as the sort the list keeps would put them.
    m_Modelo->Mostrar(m_ColumnaOrden - 1, m_Descendente);
    lvwTransacciones->header()->setSortIndicator(m_ColumnaOrden - 1,
                                                 m_Descendente ? Qt::DescendingOrder : Qt::AscendingOrder);
    AjustarColumnas();
}

void frmInicio::AjustarColumnas()
{
    // The widths by blanks of the window's font, but never narrower than what any row shows
    // (a cut date or operation name is no use at the front desk) nor than the header.
    const QFontMetrics fm(lvwTransacciones->font());
    for (int c = 0; c < kColumnas - 1; ++c) {
        const int regla = c == 0 ? std::max(1, Twips::APixeles(10))
                                 : fm.horizontalAdvance(QString(AnchosEnBlancos()[c], QLatin1Char(' ')));
        const int fila = m_Modelo->FilaMasAncha(c, fm);
        const int celda = fila < 0 ? 0 : lvwTransacciones->sizeHintForIndex(m_Modelo->index(fila, c)).width();
        const int titulo = lvwTransacciones->header()->sectionSizeHint(c);
        lvwTransacciones->setColumnWidth(c, std::max({regla, celda, titulo}));
    }
}

void frmInicio::Form_Resize()
{
    if (Ventana()->isMinimized()) return;
    const Disposicion d = CalcularDisposicion(Twips::DePixeles(height()), Twips::DePixeles(width()));
    // The window grows by what its frame takes around this area.
    const QSize marco = Ventana()->size() - size();
    if (d.altoNuevo > 0) {
        Ventana()->resize(Ventana()->width(), Twips::APixeles(d.altoNuevo) + marco.height());
        return;
    }
    if (d.anchoNuevo > 0) {
        Ventana()->resize(Twips::APixeles(d.anchoNuevo) + marco.width(), Ventana()->height());
        return;
    }
    const int margen = Twips::APixeles(60);
    const int fila = Twips::APixeles(d.listaTop) - margen;
    const int altoFila = cboNombre->sizeHint().height();
    const int arriba = std::max(0, (fila - altoFila) / 2);
    lblPrestador->setGeometry(margen, arriba, lblPrestador->sizeHint().width(), altoFila);
    cboNombre->setGeometry(lblPrestador->geometry().right() + margen, arriba, cboNombre->sizeHint().width(), altoFila);
    cmdFiltrar->setGeometry(cboNombre->geometry().right() + margen / 2, arriba, cmdFiltrar->sizeHint().height() + 8,
                            altoFila);
    lvwTransacciones->setGeometry(margen, Twips::APixeles(d.listaTop), Twips::APixeles(d.listaAncho),
                                  Twips::APixeles(d.listaAlto));
    Frame1->setGeometry(margen, Twips::APixeles(d.frameTop), Frame1->sizeHint().width(), Frame1->sizeHint().height());
    cmdCerrar->setGeometry(Twips::APixeles(d.cerrarLeft), Twips::APixeles(d.cerrarTop), Twips::APixeles(1215),
                           cmdCerrar->sizeHint().height());
}

void frmInicio::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

// ---- Filter and sorting -------------------------------------------------------------------

void frmInicio::BuscarPrestadorSeleccionado()
{
    m_Cuit.clear();
    m_Licencia.clear();
    if (!General::gConfig || !General::gConfig->Prestadores()) return;
    const int id = cboNombre->currentData().toInt();
    for (const auto& p : *General::gConfig->Prestadores()) {
        if (p->idPrestador == id) {
            m_Cuit = p->Cuit;
            m_Licencia = p->Licencia;
            return;
        }
    }
}

void frmInicio::cmdFiltrar_Click()
{
    try {
        BuscarPrestadorSeleccionado();
        CargarListaTransacciones();
    } catch (const std::exception& e) {
        modEnvioTicket::MostrarErrorInesperado(e);
    }
}

void frmInicio::lvwTransacciones_ColumnClick(int columna)
{
    m_Descendente = !m_Descendente;
    m_ColumnaOrden = columna == 3 ? 8 : columna;
    m_Modelo->Ordenar(m_ColumnaOrden - 1, m_Descendente);
    lvwTransacciones->header()->setSortIndicator(m_ColumnaOrden - 1,
                                                 m_Descendente ? Qt::DescendingOrder : Qt::AscendingOrder);
}

// ---- Opening a stored ticket --------------------------------------------------------------

void frmInicio::lvwTransacciones_MouseDown() { m_Marca = true; }

bool frmInicio::eventFilter(QObject* objeto, QEvent* evento)
{
    // The mark is a press over a row; a press elsewhere, a key or the focus leaving the list
    // clears it, so no later change of the current row can pass for a click.
    if (objeto == lvwTransacciones->viewport() && evento->type() == QEvent::MouseButtonPress) {
        const auto* raton = static_cast<QMouseEvent*>(evento);
        if (lvwTransacciones->indexAt(raton->position().toPoint()).isValid())
            lvwTransacciones_MouseDown();
        else
            m_Marca = false;
    }
    if (objeto == lvwTransacciones && (evento->type() == QEvent::KeyPress || evento->type() == QEvent::FocusOut))
        m_Marca = false;
    return QWidget::eventFilter(objeto, evento);
}

void frmInicio::lvwTransacciones_ItemClick(int fila)
{
    if (!m_Marca || fila < 0 || fila >= m_Modelo->rowCount()) return;
    try {
        const QString carpeta = modTickets::CarpetaTickets();
        if (!QFileInfo(carpeta).isDir()) {
            Dialogs::MsgBox(QStringLiteral("No se encuentra el directorio de los tickets: ") +
                            Paths::WithTrailingSlash(carpeta));
            m_Marca = false;
            return;
        }
        // The row as listed is all the ticket window needs: a log out of reach opens the ticket
        // from its file all the same.
        const auto listada = TransaccionDeFila(fila);
        const QString archivo = modTickets::ArchivoTicket(listada->Ticket, listada->Fecha, listada->Hora);
        if (!QFileInfo(archivo).isFile()) {
            Dialogs::MsgBox(QStringLiteral("No se encuentra el archivo del ticket: ") + archivo);
            m_Marca = false;
            return;
        }
        const QString texto = LeerTicket(archivo);
        // Cleared first: the click that ends the modal window must not open it again.
        m_Marca = false;
        frmTicket ticket(this);
        ticket.Cargar(texto, TextoDeFila(fila, 5), listada);
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Error: ") + e.description);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error: ") + QString::fromLocal8Bit(e.what()));
    }
    m_Marca = false;
}

// ---- Reprint and closing ------------------------------------------------------------------

void frmInicio::cmdBuscar_Click()
{
    const QString numero = Vb::Trim(txtNrotransaccion->text());
    if (numero.isEmpty()) {
        Dialogs::MsgBox(QStringLiteral("Debe ingresar el nº de transacción"), Vbc::vbInformation);
        return;
    }
    if (!NumeroTicketValido(numero)) {
        Dialogs::MsgBox(QStringLiteral("El nº de transacción ingresado no es correcto"), Vbc::vbInformation);
        return;
    }
    setCursor(Qt::WaitCursor);
    try {
        const clsConfig& cfg = modEnvioTicket::ConfiguracionCargada(kOrigen);
        const auto os = modEnvioTicket::ObraSocialPredeterminada(cfg);
        const auto tx = modEnvioTicket::NuevoEnvio(cfg, *os, false);
        BuscarPrestadorSeleccionado();
        if (Vb::Trim(m_Licencia).isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar un prestador"), Vbc::vbInformation);
            modEnvioTicket::PunteroNormal(this);
            return;
        }
        tx->setLicencia(m_Licencia);
        modEnvioTicket::EnviarReferencia(*tx, kOperacionReimpresion, m_Cuit, QString(), numero);
    } catch (const std::exception& e) {
        modEnvioTicket::MostrarErrorInesperado(e);
    }
    modEnvioTicket::PunteroNormal(this);
}

void frmInicio::cmdCerrar_Click()
{
    modEnvioTicket::PunteroNormal(nullptr);
    Ventana()->close();
}
