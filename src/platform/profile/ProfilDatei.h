#pragma once

#include "ProfilKodierung.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The bytes of one profile file with its lines classified, as the Windows profile functions
// see them. Edits splice bytes, so everything not edited stays exactly as it was.
class ProfilDatei
{
public:
    explicit ProfilDatei(QByteArray inhalt);

    const QByteArray& inhalt() const { return m_inhalt; }
    ProfilKodierung kodierung() const { return m_kodierung; }

    // The value of the first matching key in the first matching section; nullopt when missing.
    std::optional<QString> wert(const QString& abschnitt, const QString& schluessel) const;

    // Sets the key; new keys follow the last key of their section, new sections go to the end.
    // The texts must be storable in the file's encoding and hold no line break.
    void setzen(const QString& abschnitt, const QString& schluessel, const QString& wert);

private:
    enum class Art { Sonstiges, Kommentar, Abschnitt, Schluessel };
    struct Zeile
    {
        qsizetype anfang = 0;       // first byte of the line
        qsizetype inhaltEnde = 0;   // end of its text, before CR LF or LF
        qsizetype ende = 0;         // after its line end
        Art art = Art::Sonstiges;
        QString name;               // section or key name, trimmed
        qsizetype gleich = -1;      // position of the '=' of a key line
    };

    void zerlegen();
    int abschnittFinden(const QString& name) const;   // index of its header line, -1 if missing
    int abschnittEnde(int kopfZeile) const;           // first line after the section
    QByteArray zeilenEnde() const;
    QByteArray kodiert(const QString& text) const;
    QString wertText(const Zeile& zeile) const;

    QByteArray m_inhalt;
    ProfilKodierung m_kodierung;
    QList<Zeile> m_zeilen;
};
