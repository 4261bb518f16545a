#pragma once

#include <QString>

class QPainter;
class QPaintDevice;
class TBerichtSeiten;

/// Draws page `index` (0-based) of a run with the painter, the paper's top-left corner at the
/// painter's origin and `punkteProMm` device units per millimetre. Text is measured against
/// `geraet`, the device the painter draws on at scale 1: it wraps inside its object, and only
/// the lines that fit the object's height are drawn.
void BerichtSeiteZeichnen(QPainter& maler, const TBerichtSeiten& seiten, int index, const QPaintDevice* geraet,
                          double punkteProMm);

/// Writes every page into a PDF file at the report's paper size, without margins of its own.
/// Throws Fehler with a German message when the file cannot be written.
void BerichtPdfSchreiben(const TBerichtSeiten& seiten, const QString& pfad);
