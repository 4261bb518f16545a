#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Case folded, accented letters reduced to their base letter, ß as ss: the form in which texts
// are sorted and compared regardless of how they were typed.
QString Grundform(QStringView text);

// A text the user types to find rows by: found in a row when one of the row's texts contains it,
// upper and lower case alike, accents ignored, and the German spellings without umlauts and ß
// taken as equal: "mueller", "muller" and "Müller" all find "Müller", "strasse" and "strase" find
// "Straße". Runs of blanks count as one blank; blanks at either end do not count.
class Suchbegriff
{
public:
    explicit Suchbegriff(QStringView eingabe = {});

    // Nothing but blanks typed: every row is found.
    bool leer() const { return m_grundform.isEmpty(); }

    // The texts of one row in the form `gefunden` looks through; worked out once per row and
    // kept while the row does not change, so that a keystroke only compares.
    static QString durchsuchbar(const QStringList& texte);
    bool gefunden(QStringView durchsuchbar) const;

private:
    QString m_grundform;
    QString m_umschrift;
};
