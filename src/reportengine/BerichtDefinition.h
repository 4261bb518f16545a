#pragma once

#include "BerichtAusdruck.h"

#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <vector>

/// A banded report: one page description and its bands with their objects. Measures are in
/// millimetres; object positions are relative to the top-left corner of their band.

/// A font by the name the report asks for; families missing on this machine are replaced by
/// a metric-compatible one where there is one.
QFont BerichtSchrift(const QString& familie, double punkt, bool fett = false);

struct TBerichtObjekt
{
    enum class Art { Text, Linie };

    QString Name;
    Art art = Art::Text;
    double Links = 0;
    double Oben = 0;
    double Breite = 0;
    double Hoehe = 0;          // lines: none
    QFont Schrift;
    Qt::Alignment Ausrichtung = Qt::AlignLeft;
    TBerichtAusdruck Ausdruck; // text objects

    /// A text object; places and sizes in millimetres.
    static TBerichtObjekt Text(const QString& name, double links, double oben, double breite, double hoehe,
                               const QFont& schrift, const QString& ausdruck, Qt::Alignment ausrichtung = Qt::AlignLeft);
    /// A horizontal line.
    static TBerichtObjekt Linie(const QString& name, double links, double oben, double breite);
};

enum class TBandArt { Seitenkopf, Stammdaten, Detaildaten, Seitenfuss };

struct TBerichtBand
{
    QString Name;
    TBandArt art = TBandArt::Stammdaten;
    double Hoehe = 0;
    QString Datenmenge;        // data bands: the report dataset they walk
    QFont Schrift;             // the band's own font (its objects carry theirs)
    /// Master bands: printed even when their detail band has no rows for them.
    bool DruckenOhneDetails = false;
    /// Optional entry of the preview's outline, one per printed band.
    TBerichtAusdruck Gliederung;
    std::vector<TBerichtObjekt> Objekte;
};

struct TBerichtDefinition
{
    QString Name;
    QPageSize Papier = QPageSize(QPageSize::A4);
    QPageLayout::Orientation Ausrichtung = QPageLayout::Portrait;
    QMarginsF Raender;         // millimetres
    QFont Seitenschrift;
    std::vector<TBerichtBand> Baender;

    /// Paper size in millimetres, turned for landscape.
    QSizeF PapierMm() const;
    /// The first band of a kind; nullptr when there is none.
    const TBerichtBand* Band(TBandArt art) const;
};
