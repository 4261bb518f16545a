#include "TerminplanGeometrie.h"

#include <QLocale>
#include <algorithm>

namespace {

QDate montag(const QDate& tag)
{
    return tag.addDays(1 - tag.dayOfWeek());
}

QDate sonntag(const QDate& tag)
{
    return tag.addDays(7 - tag.dayOfWeek());
}

} // namespace

TTerminplanGeometrie::TTerminplanGeometrie(std::vector<TTerminplanEintrag> eintraege, const QDate& heute, Masse masse,
                                           const QDate& mindestBis)
    : m_eintraege(std::move(eintraege)), m_heute(heute), m_masse(masse)
{
    QDate frueh = heute;
    QDate spaet = heute;
    for (const TTerminplanEintrag& e : m_eintraege) {
        if (const auto t = tage(e)) {
            frueh = std::min(frueh, t->first);
            spaet = std::max(spaet, t->second);
        }
    }
    m_erster = montag(frueh);
    m_letzter = sonntag(mindestBis.isValid() ? std::max(spaet, mindestBis) : spaet);
}

std::optional<std::pair<QDate, QDate>> TTerminplanGeometrie::tage(const TTerminplanEintrag& eintrag)
{
    QDate von = eintrag.von.isValid() ? eintrag.von : eintrag.bis;
    QDate bis = eintrag.bis.isValid() ? eintrag.bis : eintrag.von;
    if (!von.isValid())
        return std::nullopt;
    if (bis < von)
        std::swap(von, bis);
    return std::make_pair(von, bis);
}

int TTerminplanGeometrie::breite() const
{
    return int(m_erster.daysTo(m_letzter) + 1) * m_masse.pixelProTag;
}

int TTerminplanGeometrie::hoehe() const
{
    return m_masse.kopfHoehe + int(m_eintraege.size()) * m_masse.zeilenHoehe;
}

int TTerminplanGeometrie::x(const QDate& tag) const
{
    return int(m_erster.daysTo(tag)) * m_masse.pixelProTag;
}

QDate TTerminplanGeometrie::tagBei(int x) const
{
    const int tag = std::clamp(x, 0, breite() - 1) / m_masse.pixelProTag;
    return m_erster.addDays(tag);
}

QRect TTerminplanGeometrie::zeile(int index) const
{
    return QRect(0, m_masse.kopfHoehe + index * m_masse.zeilenHoehe, breite(), m_masse.zeilenHoehe);
}

int TTerminplanGeometrie::zeileBei(int y) const
{
    if (y < m_masse.kopfHoehe)
        return -1;
    const int index = (y - m_masse.kopfHoehe) / m_masse.zeilenHoehe;
    return index < int(m_eintraege.size()) ? index : -1;
}

std::optional<QRect> TTerminplanGeometrie::balken(int index) const
{
    const auto t = tage(m_eintraege[size_t(index)]);
    if (!t)
        return std::nullopt;
    const QRect z = zeile(index);
    const int links = x(t->first);
    return QRect(links, z.top() + m_masse.balkenRand, x(t->second.addDays(1)) - links,
                 z.height() - 2 * m_masse.balkenRand);
}

int TTerminplanGeometrie::heuteX() const
{
    return x(m_heute) + m_masse.pixelProTag / 2;
}

std::vector<QRect> TTerminplanGeometrie::wochenenden() const
{
    // The scale begins on a Monday and ends on a Sunday: every week has its whole weekend.
    std::vector<QRect> baender;
    const int zeilenHoehe = hoehe() - m_masse.kopfHoehe;
    for (QDate samstag = m_erster.addDays(5); samstag <= m_letzter; samstag = samstag.addDays(7))
        baender.emplace_back(x(samstag), m_masse.kopfHoehe, 2 * m_masse.pixelProTag, zeilenHoehe);
    return baender;
}

std::vector<TSkalenBeschriftung> TTerminplanGeometrie::monate() const
{
    const QLocale deutsch(QLocale::German, QLocale::Germany);
    std::vector<TSkalenBeschriftung> monate;
    for (QDate tag = m_erster; tag <= m_letzter;) {
        const QDate naechster = QDate(tag.year(), tag.month(), 1).addMonths(1);
        const QDate ende = std::min(naechster, m_letzter.addDays(1));
        monate.push_back({x(tag), x(ende) - x(tag),
                          deutsch.standaloneMonthName(tag.month()) + QLatin1Char(' ') + QString::number(tag.year())});
        tag = ende;
    }
    return monate;
}

std::vector<TSkalenBeschriftung> TTerminplanGeometrie::wochen() const
{
    std::vector<TSkalenBeschriftung> wochen;
    for (QDate tag = m_erster; tag <= m_letzter; tag = tag.addDays(7))
        wochen.push_back({x(tag), 7 * m_masse.pixelProTag, QStringLiteral("KW %1").arg(tag.weekNumber())});
    return wochen;
}
