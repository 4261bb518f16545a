#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

struct chmFile;

// A compiled help file opened read-only through chmlib: its stored files, the facts of its
// system file (contents, index, default topic, title, language) and its context-id table.
// Internal names begin with "/" and use "/" (e.g. "/kapitel/seite.htm").
class ChmDatei
{
public:
    // Opens the file; a missing, empty or damaged file leaves the object closed (offen() false)
    // with a German reason in fehlertext().
    explicit ChmDatei(const QString& pfad);
    ~ChmDatei();
    ChmDatei(const ChmDatei&) = delete;
    ChmDatei& operator=(const ChmDatei&) = delete;

    bool offen() const { return m_datei != nullptr; }
    QString fehlertext() const { return m_fehler; }
    QString pfad() const { return m_pfad; }

    // The stored name as it is spelt in the file for a name in any letter case, or empty.
    QString gespeicherterName(const QString& name) const;
    // The bytes of a stored file; empty when it is missing or cannot be read.
    QByteArray lesen(const QString& name) const;
    // Every stored file (no folders, no system files).
    QStringList dateien() const { return m_dateien; }

    QString inhaltsdatei() const { return m_inhalt; }
    QString indexdatei() const { return m_index; }
    QString startseite() const { return m_start; }
    QString titel() const { return m_titel; }
    quint32 sprache() const { return m_sprache; }
    // The code page the file's texts are written in when a page names none.
    QByteArray zeichensatz() const;

    // The topic for a context number, as a stored name, or empty when the number is not mapped
    // or its target is not in the file.
    QString themaZuKontext(quint32 kontext) const;
    // Every context number the file maps, with the stored name it leads to (empty if none).
    QHash<quint32, QString> kontexte() const;

    // The stored name a link text leads to: backslashes, "ms-its:…::" prefixes, "#anchors",
    // percent signs, "." and ".." resolved; when the name is not stored, leading folders are
    // dropped one at a time (help compilers that write the build folder into the table).
    QString namensAufloesung(const QString& verweis) const;

private:
    void systemLesen();
    void kontextTabelleLesen();

    QString m_pfad;
    QString m_fehler;
    chmFile* m_datei = nullptr;
    QStringList m_dateien;
    QHash<QString, QString> m_namenKlein;   // lower case → stored spelling
    QString m_inhalt, m_index, m_start, m_titel;
    quint32 m_sprache = 0;
    QHash<quint32, QByteArray> m_kontextTexte;
};
