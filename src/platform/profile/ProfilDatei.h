#pragma once

#include "ProfilKodierung.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The bytes of one profile file with its lines classified, as the Windows profile functions
// see them. Edits splice bytes, so everything not edited stays exactly as it was. Reading the
// file once takes time in proportion to its size; a lookup after that costs the length of
// its section the first time and nothing worth counting later.
class ProfilDatei
{
public:
    // `bisher`: the encoding this run last saw the file in while it held more than ASCII. A
    // Windows-1252 file stays one, also when a write has left only bytes that are valid UTF-8:
    // its other values must not start to read differently.
    explicit ProfilDatei(const QByteArray& dateiInhalt, std::optional<ProfilKodierung> bisher = std::nullopt);

    // The bytes for the file, in its encoding.
    QByteArray dateiInhalt() const;
    ProfilKodierung kodierung() const { return m_kodierung; }
    // The encoding to keep for this run; nullopt while the file is plain ASCII and so undecided.
    std::optional<ProfilKodierung> festeKodierung() const;

    // The value of the first matching key in the first matching section; nullopt when missing.
    std::optional<QString> wert(const QString& abschnitt, const QString& schluessel) const;

    // Whether the key already holds exactly this value, so that setting it would change nothing.
    bool enthaelt(const QString& abschnitt, const QString& schluessel, const QString& wert) const;

    // Whether the texts can be stored in the file. A plain ASCII file takes UTF-8 for characters
    // Windows-1252 lacks, since nothing in it could then read differently.
    bool kodierungFuer(const QStringList& texte);

    // Sets the key; new keys follow the last key of their section, new sections go to the end,
    // and a rewritten last line gets the line end it lacked. The texts must have passed
    // kodierungFuer and hold no line break. Returns false when no byte changed.
    bool setzen(const QString& abschnitt, const QString& schluessel, const QString& wert);

private:
    enum class Art { Sonstiges, Kommentar, Abschnitt, Schluessel };
    struct Zeile
    {
        qsizetype anfang = 0;       // first byte of the line
        qsizetype inhaltEnde = 0;   // end of its text, before CR LF or LF
        qsizetype ende = 0;         // after its line end
        qsizetype nameAnfang = 0;   // section or key name, trimmed
        qsizetype nameEnde = 0;
        qsizetype gleich = -1;      // position of the '=' of a key line
        Art art = Art::Sonstiges;
    };

    void zerlegen();
    int abschnittFinden(const QString& name) const;   // index of its header line, -1 if missing
    int abschnittEnde(int kopfZeile) const;           // first line after the section
    int schluesselFinden(int kopfZeile, const QString& name) const;
    QString name(const Zeile& zeile) const;
    QByteArray zeilenEnde() const;
    QByteArray kodiert(const QString& text) const;
    QString wertText(const Zeile& zeile) const;
    qsizetype wertAnfang(const Zeile& zeile) const;

    ProfilKodierung m_kodierung;
    QByteArray m_text;        // the lines; UTF-16 files as UTF-8
    QByteArray m_kopf;        // byte-order mark of a UTF-16 file
    QByteArray m_rest;        // odd last byte of a UTF-16 file, kept as it was
    bool m_nurAscii = true;
    QList<Zeile> m_zeilen;
    QHash<QString, int> m_abschnitte;                        // folded name → first header line
    mutable QHash<int, QHash<QString, int>> m_schluessel;   // header line → folded key → first line
};
