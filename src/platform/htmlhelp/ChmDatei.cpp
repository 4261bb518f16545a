#include "ChmDatei.h"

#include "Zeichensatz.h"

#include <QFileInfo>
#include <QUrl>

#include <chm_lib.h>

#include <cstring>

namespace {

quint32 dword(const QByteArray& daten, qsizetype stelle)
{
    if (stelle < 0 || stelle + 4 > daten.size())
        return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(daten.constData() + stelle);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

quint16 word(const QByteArray& daten, qsizetype stelle)
{
    if (stelle < 0 || stelle + 2 > daten.size())
        return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(daten.constData() + stelle);
    return quint16(b[0] | b[1] << 8);
}

// A NUL-terminated text inside a block, in the file's code page.
QByteArray nullText(const QByteArray& daten, qsizetype stelle, qsizetype ende)
{
    if (stelle < 0 || stelle >= ende)
        return {};
    const qsizetype nul = daten.indexOf('\0', stelle);
    return daten.mid(stelle, (nul < 0 || nul > ende ? ende : nul) - stelle);
}

int sammeln(chmFile*, chmUnitInfo* info, void* kontext)
{
    auto* liste = static_cast<QStringList*>(kontext);
    const QString name = QString::fromUtf8(info->path);
    if (name.startsWith(QLatin1Char('/')) && !name.endsWith(QLatin1Char('/'))
        && !name.startsWith(QLatin1String("/#")) && !name.startsWith(QLatin1String("/$")))
        liste->append(name);
    return CHM_ENUMERATOR_CONTINUE;
}

} // namespace

ChmDatei::ChmDatei(const QString& pfad)
    : m_pfad(pfad)
{
    const QFileInfo info(pfad);
    if (!info.isFile()) {
        m_fehler = QStringLiteral("Die Hilfedatei %1 wurde nicht gefunden.").arg(pfad);
        return;
    }
    m_datei = chm_open(QFile::encodeName(pfad).constData());
    if (!m_datei) {
        m_fehler = QStringLiteral("Die Hilfedatei %1 ist beschädigt oder keine Hilfedatei.").arg(pfad);
        return;
    }
    chm_enumerate(m_datei, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, &sammeln, &m_dateien);
    for (const QString& name : std::as_const(m_dateien))
        m_namenKlein.insert(name.toLower(), name);
    systemLesen();
    kontextTabelleLesen();
    if (m_dateien.isEmpty()) {
        chm_close(m_datei);
        m_datei = nullptr;
        m_fehler = QStringLiteral("Die Hilfedatei %1 ist beschädigt oder enthält keine Seiten.").arg(pfad);
    }
}

ChmDatei::~ChmDatei()
{
    if (m_datei)
        chm_close(m_datei);
}

QString ChmDatei::gespeicherterName(const QString& name) const
{
    return m_namenKlein.value(name.toLower());
}

QByteArray ChmDatei::lesen(const QString& name) const
{
    if (!m_datei || name.isEmpty())
        return {};
    chmUnitInfo info{};
    const QByteArray pfad = name.toUtf8();
    if (pfad.size() > CHM_MAX_PATHLEN
        || chm_resolve_object(m_datei, pfad.constData(), &info) != CHM_RESOLVE_SUCCESS)
        return {};
    QByteArray daten;
    // A damaged file may claim any length; nothing larger than the file itself is believed.
    const qint64 dateigroesse = QFileInfo(m_pfad).size();
    if (info.length > quint64(std::max<qint64>(dateigroesse * 64, 1 << 20)))
        return {};
    daten.resize(qsizetype(info.length));
    quint64 gelesen = 0;
    while (gelesen < info.length) {
        const auto n = chm_retrieve_object(m_datei, &info,
                                           reinterpret_cast<unsigned char*>(daten.data()) + gelesen,
                                           gelesen, info.length - gelesen);
        if (n <= 0)
            return {};
        gelesen += quint64(n);
    }
    return daten;
}

QByteArray ChmDatei::zeichensatz() const
{
    return Zeichensatz::ausSprache(m_sprache);
}

void ChmDatei::systemLesen()
{
    const QByteArray system = lesen(QStringLiteral("/#SYSTEM"));
    QByteArray inhalt, index, start, titel;
    for (qsizetype stelle = 4; stelle + 4 <= system.size();) {
        const quint16 code = word(system, stelle);
        const quint16 laenge = word(system, stelle + 2);
        const qsizetype daten = stelle + 4;
        const qsizetype ende = std::min<qsizetype>(daten + laenge, system.size());
        switch (code) {
        case 0: inhalt = nullText(system, daten, ende); break;
        case 1: index = nullText(system, daten, ende); break;
        case 2: start = nullText(system, daten, ende); break;
        case 3: titel = nullText(system, daten, ende); break;
        case 4: m_sprache = dword(system, daten); break;
        default: break;
        }
        stelle = daten + laenge;
    }
    const QByteArray zs = zeichensatz();
    auto text = [&](const QByteArray& roh) { return Zeichensatz::dekodieren(roh, zs); };
    m_titel = text(titel);
    m_inhalt = namensAufloesung(text(inhalt));
    m_index = namensAufloesung(text(index));
    m_start = namensAufloesung(text(start));
    // Without entries in the system file, the first contents and index files stored are taken.
    for (const QString& name : std::as_const(m_dateien)) {
        if (m_inhalt.isEmpty() && name.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive))
            m_inhalt = name;
        if (m_index.isEmpty() && name.endsWith(QLatin1String(".hhk"), Qt::CaseInsensitive))
            m_index = name;
    }
}

void ChmDatei::kontextTabelleLesen()
{
    const QByteArray tabelle = lesen(QStringLiteral("/#IVB"));
    const QByteArray texte = lesen(QStringLiteral("/#STRINGS"));
    if (tabelle.size() < 4)
        return;
    const qsizetype ende = std::min<qsizetype>(4 + qsizetype(dword(tabelle, 0)), tabelle.size());
    for (qsizetype stelle = 4; stelle + 8 <= ende; stelle += 8) {
        const quint32 kontext = dword(tabelle, stelle);
        const quint32 versatz = dword(tabelle, stelle + 4);
        // The first entry of a number counts, as in the table's own order.
        if (!m_kontextTexte.contains(kontext))
            m_kontextTexte.insert(kontext, nullText(texte, qsizetype(versatz), texte.size()));
    }
}

QString ChmDatei::themaZuKontext(quint32 kontext) const
{
    const auto it = m_kontextTexte.constFind(kontext);
    if (it == m_kontextTexte.constEnd())
        return {};
    return namensAufloesung(Zeichensatz::dekodieren(*it, zeichensatz()));
}

QHash<quint32, QString> ChmDatei::kontexte() const
{
    QHash<quint32, QString> ergebnis;
    for (auto it = m_kontextTexte.constBegin(); it != m_kontextTexte.constEnd(); ++it)
        ergebnis.insert(it.key(), themaZuKontext(it.key()));
    return ergebnis;
}

QString ChmDatei::namensAufloesung(const QString& verweis) const
{
    QString name = verweis.trimmed();
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype trenner = name.indexOf(QLatin1String("::"));
    if (trenner >= 0)
        name = name.mid(trenner + 2);
    const qsizetype anker = name.indexOf(QLatin1Char('#'));
    if (anker >= 0)
        name.truncate(anker);
    name = QUrl::fromPercentEncoding(name.toUtf8());
    if (name.isEmpty())
        return {};
    if (!name.startsWith(QLatin1Char('/')))
        name.prepend(QLatin1Char('/'));
    // "." and ".." resolved on the folder list.
    QStringList teile;
    for (const QString& teil : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (teil == QLatin1String("."))
            continue;
        if (teil == QLatin1String("..")) {
            if (!teile.isEmpty())
                teile.removeLast();
            continue;
        }
        teile.append(teil);
    }
    while (!teile.isEmpty()) {
        const QString gefunden = gespeicherterName(QLatin1Char('/') + teile.join(QLatin1Char('/')));
        if (!gefunden.isEmpty())
            return gefunden;
        teile.removeFirst();
    }
    return {};
}
