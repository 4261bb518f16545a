#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

class TDataSource;
class TField;
class TKADaoTable;

// The link of one data-bound control to one field of a data source's dataset: it tells the
// control when to show the current row's value anew and writes the user's change into the
// dataset's edit buffer (putting the dataset into edit state first, as a data-aware control does).
class TFeldVerbindung : public QObject
{
    Q_OBJECT
public:
    explicit TFeldVerbindung(QObject* besitzer);

    void setDatenquelle(TDataSource* quelle);
    TDataSource* datenquelle() const;
    void setFeld(const QString& feld);
    QString feld() const { return m_feld; }

    // The field in the open dataset; nullptr when there is none.
    TField* feldObjekt() const;
    // The current row's value of the field; invalid when there is no row or no such field.
    QVariant wert() const;
    // The most characters a text field takes; 0 when it has no such limit.
    int feldbreite() const;
    bool bearbeitet() const;  // the dataset is in edit or insert state

    // Writes the user's value into the field (edit state first when browsing). Throws what the
    // field refuses: called while a post takes the input, that ends the post.
    void schreiben(const QVariant& wert);
    // The same from a widget's own event (a keystroke, a click): an error is handed on to the
    // event loop and the control shows the field's value again.
    void schreibenAusEreignis(const QVariant& wert);
    // The user began to change the value: the dataset goes into edit state.
    void bearbeitenBeginnen();

signals:
    // Show the value anew: the current row moved, the field changed or the dataset reopened.
    void anzeigen();
    // The dataset went from browsing to editing or back.
    void zustandGeaendert();
    // A post is starting: write what is typed but not yet taken.
    void uebernehmen();

private:
    TKADaoTable* datenmenge() const;

    QPointer<TDataSource> m_quelle;
    QString m_feld;
    bool m_schreibt = false;
};
