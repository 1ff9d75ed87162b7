#include "platform/ChequeosAlSalir.h"
#include "platform/Dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

// The refusal's message is the program's real message box, closed as soon as it shows: when the
// check returns the window is not active again yet, and the click that left the box must still
// reach neither a list (opening it, taking a choice) nor a button (pressed, or acting on the value).
TEST(ChequeosAlSalir, ARefusedValueDropsTheClickPastARealMessageBox)
{
    Dialogs::install(nullptr);
    QWidget ventana;
    auto* caja = new QLineEdit;
    auto* lista = new QComboBox;
    lista->addItems({"uno", "dos"});
    auto* boton = new QPushButton(QStringLiteral("Aceptar"));
    auto* capa = new QVBoxLayout(&ventana);
    for (QWidget* w : std::initializer_list<QWidget*>{caja, lista, boton}) capa->addWidget(w);
    int pulsado = 0, mensajes = 0;
    QObject::connect(boton, &QPushButton::clicked, [&] { ++pulsado; });
    (new ChequeosAlSalir(&ventana))->AgregarValidacion(caja, [&](bool& cancelar) {
        cancelar = caja->text() == QLatin1String("mal");
        if (cancelar) Dialogs::MsgBox(QStringLiteral("Valor inválido"), Vbc::vbExclamation);
    });
    QTimer cerrar;
    cerrar.callOnTimeout([&] {
        if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++mensajes;
            m->accept();
        }
    });
    cerrar.start(10);
    ventana.show();
    for (QWidget* destino : std::initializer_list<QWidget*>{lista, boton}) {
        SCOPED_TRACE(destino->metaObject()->className());
        QApplication::setActiveWindow(&ventana);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&ventana));
        caja->setFocus();
        caja->setText(QStringLiteral("mal"));
        mensajes = 0;
        QTest::mouseClick(destino, Qt::LeftButton, {}, destino->rect().center());
        QCoreApplication::processEvents();
        EXPECT_EQ(mensajes, 1);
        EXPECT_EQ(ventana.focusWidget(), caja);
        EXPECT_FALSE(lista->view()->isVisible());
        EXPECT_FALSE(boton->isDown());
        EXPECT_EQ(pulsado, 0);
    }
}
