#pragma once
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QModelIndex;
class QTreeView;
class ModeloTransacciones;
class clsTransacciones;

// The start screen: the logged transactions, optionally of one provider; a mouse click on a
// row opens its stored ticket, and a ticket that is not listed can be reprinted by number.
// The list is a view over `ModeloTransacciones`, which makes only the cells shown.
class frmInicio : public QWidget {
    Q_OBJECT
public:
    explicit frmInicio(QWidget* parent = nullptr);
    ~frmInicio() override;

    QTreeView* lvwTransacciones;
    QLabel* lblPrestador;
    QComboBox* cboNombre;
    QPushButton* cmdFiltrar;
    QGroupBox* Frame1;
    QLabel* Label3;
    QLineEdit* txtNrotransaccion;
    QPushButton* cmdBuscar;
    QPushButton* cmdCerrar;
    // Row images: answer code 0, any other code.
    QList<QIcon> ImageList1;

    // Asks the main window to lay out its children.
    std::function<void()> DistribuirVentanas;

    void Form_Load();
    void Form_Resize();
    // Reloads the list for the provider last looked up (every provider when none).
    void CargarListaTransacciones();
    void cmdFiltrar_Click();
    void cmdBuscar_Click();
    void cmdCerrar_Click();
    // Column numbers count from 1.
    void lvwTransacciones_ColumnClick(int columna);
    void lvwTransacciones_MouseDown();
    // Rows count from 0, in the list's order.
    void lvwTransacciones_ItemClick(int fila);

    // The logged transaction of a row as the list loaded it: the fields it shows and those its
    // void is sent with (null for no row).
    std::shared_ptr<clsTransacciones> TransaccionDeFila(int fila) const;
    // The text of a row's column (columns from 1).
    QString TextoDeFila(int fila, int columna) const;

    // ---- Rules of the window -------------------------------------------------------------
    static QString NombreOperacion(const QString& operacion);
    // The eight column texts of a row.
    static QStringList TextosFila(const clsTransacciones& t);
    // A ticket number to reprint: 1 to 12 digits, nothing else.
    static bool NumeroTicketValido(const QString& texto);
    // Widths of the columns in blanks of the window's font (column 1 in twips, column 8 hidden);
    // a column widens to what its rows show.
    static const QList<int>& AnchosEnBlancos();

    // Layout by the window's size, in twips: a window below its smallest height grows to it
    // first, then one below its smallest width; otherwise the controls are placed.
    struct Disposicion {
        int altoNuevo = 0;  // > 0: grow the height to this and place nothing
        int anchoNuevo = 0; // > 0: grow the width to this and place nothing
        int listaTop = 0, listaAncho = 0, listaAlto = 0;
        int frameTop = 0;
        int cerrarLeft = 0, cerrarTop = 0;
    };
    static Disposicion CalcularDisposicion(int alto, int ancho);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void BuscarPrestadorSeleccionado();
    void AjustarColumnas();
    QWidget* Ventana();

    ModeloTransacciones* m_Modelo = nullptr;
    QString m_Cuit;
    QString m_Licencia;
    bool m_Marca = false;
    int m_ColumnaOrden = 8;
    bool m_Descendente = false;
};
