#include "app/mainwindow.h"

#include "electrics/valueparser.h"

void MainWindow::parseValue(ValueEntry &entry) const
{
    Electrics::parseValue(entry, useLocale);
}

void MainWindow::LED_setZ0() { }
void MainWindow::LED_setRX() { }
void MainWindow::LED_setGB() { }
void MainWindow::LED_setF() { }
void MainWindow::LED_setRP() { }
void MainWindow::LED_setRS() { }
void MainWindow::LED_setXP() { }
void MainWindow::LED_setXS() { }
void MainWindow::LED_setGammaR() { }
void MainWindow::LED_setGammaI() { }
void MainWindow::LED_setGammaM() { }
void MainWindow::LED_setGammaP() { }
