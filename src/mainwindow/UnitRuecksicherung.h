#pragma once

#include "Datensicherung.h"

#include <QDialog>

class QTreeWidget;

// Lists the copies of the database with day and size; the user picks the one to put back.
class TFormRuecksicherung : public QDialog
{
    Q_OBJECT

public:
    TFormRuecksicherung(const QList<Datensicherung::Kopie>& kopien, QWidget* eltern = nullptr);

    // The chosen copy's path; empty when none is chosen.
    QString gewaehlteKopie() const;
    QTreeWidget* liste() const { return m_liste; }

private:
    QTreeWidget* m_liste;
};
