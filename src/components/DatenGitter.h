#pragma once

#include "GitterSpalte.h"
#include "SpaltenLayout.h"

#include <QColor>
#include <QFlags>
#include <QList>
#include <QTableView>
#include <cstdint>
#include <functional>

class TGitterDelegate;
class TDataSource;
class TDatenGitterModell;

// The state of a cell when it is drawn, as the cell-colouring hook receives it.
enum class TZellZustand {
    FettMarkiert = 0x1,  // the grid draws the selected row's text bold
    Leer = 0x2,          // no data row stands here (the empty area below the rows)
    Fokussiert = 0x4,    // the cell is the current cell of the focused grid
    Markiert = 0x8,      // the cell is drawn selected
};
Q_DECLARE_FLAGS(TZellZustaende, TZellZustand)
Q_DECLARE_OPERATORS_FOR_FLAGS(TZellZustaende)

// Cell-colouring hook: column, row number from 0, cell colour and grid-line colour (both in and
// out) and the cell state. The window's rule (for example the row band) changes the colours.
using TZellFaerbung = std::function<void(TGitterSpalte* spalte, int32_t zeile, QColor& zellfarbe,
                                         QColor& gitterfarbe, TZellZustaende zustand)>;

// A grid over the rows of a model, with column definitions of their own kind (text, date, check
// box, lookup, progress bar, rank glyphs, memo), the options the windows set (header and row
// height, row indicator, selection colours, movable columns) and a cell-colouring hook. Bound to
// a data source, it lists the dataset's rows, follows its current row and moves it.
class TDatenGitter : public QTableView
{
    Q_OBJECT
public:
    explicit TDatenGitter(QWidget* parent = nullptr);
    ~TDatenGitter() override;

    // Columns, in design order; the model's column i is column i.
    TGitterSpalte* spalteHinzufuegen(TSpaltenArt art, const QString& feld, const QString& titel, int breite = 80);
    int spaltenAnzahl() const { return static_cast<int>(m_spalten.size()); }
    TGitterSpalte* spalte(int index) const;
    TGitterSpalte* spalteNachId(const QString& id) const;
    const QList<TGitterSpalte*>& spalten() const { return m_spalten; }

    // The data source whose dataset the grid lists (the grid makes its own model for it).
    void setDatenquelle(TDataSource* quelle);
    // True while a cell editor is open.
    bool eingabeOffen() const;
    // Writes what is typed in an open cell editor into its row, as leaving the cell does; the
    // row goes into edit first (a lock of the database shows here, the editor stays as it is).
    void offeneEingabeUebernehmen();
    TDataSource* datenquelle() const;
    TDatenGitterModell* datenModell() const { return m_datenModell; }

    // A plain model instead of a data source: its column i is drawn by column definition i.
    void setModel(QAbstractItemModel* modell) override;

    // Options.
    void setKopfHoehe(int hoehe);
    int kopfHoehe() const;
    void setZeilenHoehe(int hoehe);
    int zeilenHoehe() const;
    void setZeilenHoeheAenderbar(bool aenderbar);
    void setZeilenIndikator(bool sichtbar);
    bool zeilenIndikator() const;
    void setGitterlinienNurAktiveZeilen(bool nurAktive);
    bool gitterlinienNurAktiveZeilen() const { return m_nurAktiveZeilen; }
    void setGanzeZeileMarkieren(bool ganzeZeile);
    void setMarkierfarbe(const QColor& farbe);
    QColor markierfarbe() const { return m_markierfarbe; }
    void setMarkierfarbeOhneFokus(const QColor& farbe);
    QColor markierfarbeOhneFokus() const { return m_markierfarbeOhneFokus; }
    void setMarkiertextfarbe(const QColor& farbe);
    QColor markiertextfarbe() const { return m_markiertextfarbe; }
    void setMarkierungZeichnen(bool zeichnen);
    bool markierungZeichnen() const { return m_markierungZeichnen; }
    void setFetteMarkierung(bool fett);
    bool fetteMarkierung() const { return m_fetteMarkierung; }
    void setSpaltenVerschiebbar(bool verschiebbar);
    void setSpaltenBreiteAenderbar(bool aenderbar);
    // The column the grid is sorted by is drawn a little darker (sorting through a proxy model
    // on the raw value role).
    void setSortierteSpalteDunkler(bool dunkler);
    void setGitterfarbe(const QColor& farbe);
    QColor gitterfarbe() const { return m_gitterfarbe; }
    // No column can be edited, whatever the columns say.
    void setNurLesen(bool nurLesen);
    bool nurLesen() const { return m_nurLesen; }

    void setZellFaerbung(TZellFaerbung faerbung);

    // Page mode, for a screen nobody scrolls: the rows stand page by page from the row given to
    // ersteZeileZeigen (also past the point where the last row would reach the bottom), the grid
    // no longer scrolls to its current row, and a row the viewport would cut at the bottom is
    // not drawn.
    void setSeitenweise(bool seitenweise);
    bool seitenweise() const { return m_seitenweise; }
    void ersteZeileZeigen(int zeile);
    // The top row shown, -1 without rows.
    int ersteSichtbareZeile() const;
    // Whole rows the viewport holds; at least 1.
    int ganzeZeilen() const;

    // Fit to width: the visible columns are shown scaled to the viewport's width; their widths
    // (breite(), the stored layout) stay as set. A width the user drags is taken back to scale.
    void setBreitenAnpassen(bool anpassen);
    bool breitenAnpassen() const { return m_breitenAnpassen; }

    void scrollTo(const QModelIndex& index, ScrollHint hinweis = EnsureVisible) override;

    // Stored column layout by column id: position, width, visibility, cell and text colour.
    // Applying sets them in this order; an unknown id does nothing.
    TSpaltenLayout spaltenLayout(const QString& id) const;
    void spaltenLayoutAnwenden(const QString& id, const TSpaltenLayout& layout);

    static constexpr int KleinsteSpaltenbreite = 8;

    // What the delegate needs to draw a cell: its colours and state after the hook ran.
    struct Zellbild
    {
        QColor hintergrund;
        QColor text;
        QColor gitter;
        TZellZustaende zustand;
        bool fett = false;
    };
    Zellbild zellbild(const QModelIndex& index, bool markiert) const;

signals:
    // A column was moved or resized by the user or the program.
    void spaltenGeaendert();

protected:
    void currentChanged(const QModelIndex& aktuell, const QModelIndex& vorher) override;
    void paintEvent(QPaintEvent* ereignis) override;
    void focusInEvent(QFocusEvent* ereignis) override;
    void focusOutEvent(QFocusEvent* ereignis) override;
    void updateGeometries() override;
    void resizeEvent(QResizeEvent* ereignis) override;

private:
    friend class TGitterSpalte;
    friend class TDatenGitterModell;
    void spaltenAufKopfAnwenden();
    void leerenBereichZeichnen();
    void angeschnitteneZeileVerdecken();
    void seiteAnwenden();
    // Gives the header the width a column shows (all columns when fitted to the width).
    void kopfBreiteSetzen(TGitterSpalte* spalte);
    void breitenEinpassen();
    // Shown width of a column: its width, scaled when fitted to the viewport.
    int gezeigteBreite(const TGitterSpalte* spalte) const;
    void datensatzZeileZeigen(int zeile);
    int datensatzZeile() const;

    QList<TGitterSpalte*> m_spalten;
    TGitterDelegate* m_delegate;
    TDatenGitterModell* m_datenModell = nullptr;
    TZellFaerbung m_faerbung;
    QColor m_markierfarbe;
    QColor m_markierfarbeOhneFokus;
    QColor m_markiertextfarbe;
    QColor m_gitterfarbe;
    bool m_nurAktiveZeilen = true;
    bool m_markierungZeichnen = true;
    bool m_fetteMarkierung = false;
    bool m_sortierteDunkler = false;
    bool m_nurLesen = false;
    bool m_folgtDatensatz = false;
    bool m_seitenweise = false;
    int m_ersteZeile = 0;
    bool m_breitenAnpassen = false;
    double m_breitenFaktor = 1.0;
    bool m_passtBreitenEin = false;   // the grid itself resizes the header's sections
};
