#pragma once
#include <QDialog>
#include <QRect>

class QPlainTextEdit;
class QPushButton;

// The report preview: the text in a fixed-pitch box and "Cerrar".
class frmTransacciones : public QDialog {
    Q_OBJECT
public:
    explicit frmTransacciones(QWidget* parent = nullptr);

    QPlainTextEdit* txtReporte = nullptr;
    QPushButton* cmdCerrar = nullptr;

    void cmdCerrar_Click();
    void Form_Resize();

    // Geometry in twips for a window of the given inner size: the text takes the width less
    // 300 and the height less 1000; the button sits 400 above the bottom edge and 100 from
    // the right one.
    static QRect GeometriaTexto(int anchoTw, int altoTw);
    static QRect GeometriaCerrar(int anchoTw, int altoTw);

protected:
    void resizeEvent(QResizeEvent* event) override;
};
