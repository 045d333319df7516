#pragma once

class QImage;

// The program icon at a given edge length in pixels: a small Smith chart (unit
// circle, real axis, two resistance circles, two pairs of reactance arcs) with
// a load marker, on a transparent background.
QImage paintIcon(int size);
