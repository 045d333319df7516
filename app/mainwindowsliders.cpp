#include "app/mainwindow.h"

#include "electrics/valueparser.h"

void MainWindow::updateSliders(unsigned) { }
void MainWindow::updateFrequencySlider() { }
void MainWindow::restoreControls() { }
void MainWindow::fillSliderTable() { }
void MainWindow::NewGamma(complex_dbl) { }
void MainWindow::QS_setR(int) { }
void MainWindow::QS_setX(int) { }
void MainWindow::QS_setG(int) { }
void MainWindow::QS_setB(int) { }
void MainWindow::QS_setRP(int) { }
void MainWindow::QS_setXP(int) { }
void MainWindow::QS_setRS(int) { }
void MainWindow::QS_setXS(int) { }
void MainWindow::QS_setF(int) { }
