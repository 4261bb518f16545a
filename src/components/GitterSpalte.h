#pragma once

#include "Farben.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <optional>

class TDatenGitter;
class TDataSource;

// What a grid column shows and how.
enum class TSpaltenArt {
    Text,         // the field's text
    Datum,        // dd.MM.yyyy; an empty date shows nothing
    CheckBox,     // a tick box for a yes/no field
    Lookup,       // the shown column of a list's row whose key equals the field
    Fortschritt,  // a progress bar of a value from 0 to 100
    Rang,         // a row of rank glyphs, filled up to the value
    Memo,         // long text, word-wrapped, top-aligned
};

// The two looks of a progress bar column.
enum class TFortschrittStil {
    Voll,     // solid fill, grey border, bold text
    Verlauf,  // gradient fill, silver border, 3 pixels margin
};

// Roles the grid's models answer besides the display text.
namespace GitterRolle {
constexpr int Rohwert = Qt::UserRole;          // the field's own value (sorting, painting, editing)
constexpr int Auswahlliste = Qt::UserRole + 1; // lookup columns: QVariantList of {key, text} pairs
constexpr int Feldbreite = Qt::UserRole + 2;   // text columns: the most characters the field takes
constexpr int Zeilenzustand = Qt::UserRole + 3; // vertical header: 0 browse, 1 edit, 2 insert
} // namespace GitterRolle

// One column of a data grid: caption, field, width, alignment, font, colours, whether the user
// may edit it, and its kind with the kind's own settings. Position, width and visibility are
// the grid's (the user moves and resizes columns there); the column reads and sets them there.
class TGitterSpalte : public QObject
{
    Q_OBJECT
public:
    TGitterSpalte(TDatenGitter* gitter, int index, TSpaltenArt art, const QString& feld, const QString& titel);

    TSpaltenArt art() const { return m_art; }
    int index() const { return m_index; }
    TDatenGitter* gitter() const { return m_gitter; }

    QString feld() const { return m_feld; }
    QString titel() const { return m_titel; }
    void setTitel(const QString& titel);
    // The id under which a window stores the column's layout; the caption unless set.
    QString spaltenId() const { return m_id.isEmpty() ? m_titel : m_id; }
    void setSpaltenId(const QString& id) { m_id = id; }

    // Display order from 0 at the left.
    int position() const;
    void setPosition(int position);
    // A width below the grid's smallest column width (8) is shown as that width.
    int breite() const;
    void setBreite(int breite);
    bool sichtbar() const;
    void setSichtbar(bool sichtbar);

    Qt::Alignment ausrichtung() const { return m_ausrichtung; }
    void setAusrichtung(Qt::Alignment ausrichtung);
    // The cell font; the grid's font unless set.
    QFont schrift() const;
    void setSchrift(const QFont& schrift);
    // Cell background and text colour as colour codes; the window colours by default.
    int32_t farbe() const { return m_farbe; }
    void setFarbe(int32_t code);
    int32_t schriftfarbe() const { return m_schriftfarbe; }
    void setSchriftfarbe(int32_t code);

    bool editierbar() const { return m_editierbar; }
    void setEditierbar(bool editierbar) { m_editierbar = editierbar; }

    // Check box: the field texts of the ticked and the unticked state.
    QString textAn() const { return m_textAn; }
    QString textAus() const { return m_textAus; }
    void setCheckTexte(const QString& an, const QString& aus);

    // Lookup: the list, its key field and the field it shows; rows of its drop-down.
    void setLookup(TDataSource* liste, const QString& schluessel, const QString& anzeige, int zeilen = 8);
    TDataSource* lookupListe() const;
    QString lookupSchluessel() const { return m_lookupSchluessel; }
    QString lookupAnzeige() const { return m_lookupAnzeige; }
    int lookupZeilen() const { return m_lookupZeilen; }

    // Progress bar: look and the fixed colour bounds.
    TFortschrittStil fortschrittStil() const { return m_stil; }
    void setFortschrittStil(TFortschrittStil stil);
    double obereGrenze() const { return m_obereGrenze; }
    double untereGrenze() const { return m_untereGrenze; }

    // Rank glyphs: how many, how large, and whether their square is painted opaque.
    int maximum() const { return m_maximum; }
    void setMaximum(int maximum);
    int glyphGroesse() const { return m_glyphGroesse; }
    void setGlyphGroesse(int groesse);
    bool glyphenDeckend() const { return m_glyphenDeckend; }
    void setGlyphenDeckend(bool deckend);

signals:
    // Something that changes how the column is drawn.
    void geaendert();

private:
    friend class TDatenGitter;
    TDatenGitter* m_gitter;
    int m_index;
    TSpaltenArt m_art;
    QString m_feld;
    QString m_titel;
    QString m_id;
    Qt::Alignment m_ausrichtung = Qt::AlignLeft;
    std::optional<QFont> m_schrift;
    int32_t m_farbe = Farbcode::Fensterhintergrund;
    int32_t m_schriftfarbe = Farbcode::Fenstertext;
    bool m_editierbar = false;
    QString m_textAn = QStringLiteral("Wahr");
    QString m_textAus = QStringLiteral("Falsch");
    QPointer<TDataSource> m_lookupListe;
    QString m_lookupSchluessel;
    QString m_lookupAnzeige;
    int m_lookupZeilen = 8;
    TFortschrittStil m_stil = TFortschrittStil::Voll;
    double m_obereGrenze = 90;
    double m_untereGrenze = 50;
    int m_maximum = 5;
    int m_glyphGroesse = 16;
    bool m_glyphenDeckend = false;
    // Kept here as well as in the grid's header: the header loses them with its model.
    int m_breite = 80;
    bool m_sichtbar = true;
    int m_position = -1;
};
