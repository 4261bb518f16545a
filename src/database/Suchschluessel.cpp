#include "Suchschluessel.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <cmath>

Suchschluessel::Suchschluessel(const QVariant& wert)
{
    if (wert.isNull())
        return;
    m_gueltig = true;
    switch (wert.metaType().id()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Bool:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::Long:
        m_zahl = true;
        m_zahlwert = wert.toLongLong();
        return;
    case QMetaType::Double: {
        const double d = wert.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e18) {
            m_zahl = true;
            m_zahlwert = qint64(d);
        } else {
            m_text = QString::number(d, 'g', 17);
        }
        return;
    }
    case QMetaType::QDate:
        m_text = wert.toDate().toString(Qt::ISODate);
        return;
    case QMetaType::QDateTime:
        m_text = wert.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return;
    default:
        m_text = wert.toString();
        return;
    }
}

bool Suchschluessel::gleich(const QVariantList& a, const QVariantList& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!(Suchschluessel(a[i]) == Suchschluessel(b[i])))
            return false;
    return true;
}

void Suchindex::leeren()
{
    m_folge.clear();
    m_folgeZeilen.clear();
    m_zahlen.clear();
    m_texte.clear();
    m_mehrfach = false;
}

void Suchindex::eintragen(const QVariant& wert, int zeile)
{
    const Suchschluessel s(wert);
    if (!s.m_gueltig)
        return;
    if (s.m_zahl) {
        if (m_zahlen.isEmpty() && (m_folge.empty() || s.m_zahlwert > m_folge.back())) {
            m_folge.push_back(s.m_zahlwert);
            m_folgeZeilen.push_back(zeile);
            return;
        }
        zahlenStreuen();
        if (!m_zahlen.contains(s.m_zahlwert))
            m_zahlen.insert(s.m_zahlwert, zeile);
        else
            m_mehrfach = true;
    } else if (!m_texte.contains(s.m_text)) {
        m_texte.insert(s.m_text, zeile);
    } else {
        m_mehrfach = true;
    }
}

int Suchindex::zeile(const Suchschluessel& schluessel) const
{
    if (!schluessel.m_gueltig)
        return -1;
    if (schluessel.m_zahl && !m_folge.empty()) {
        const auto it = std::lower_bound(m_folge.begin(), m_folge.end(), schluessel.m_zahlwert);
        return it != m_folge.end() && *it == schluessel.m_zahlwert ? m_folgeZeilen[size_t(it - m_folge.begin())] : -1;
    }
    if (schluessel.m_zahl)
        return m_zahlen.value(schluessel.m_zahlwert, -1);
    return m_texte.value(schluessel.m_text, -1);
}

void Suchindex::zahlenStreuen()
{
    for (size_t i = 0; i < m_folge.size(); ++i)
        m_zahlen.insert(m_folge[i], m_folgeZeilen[i]);
    m_folge = {};
    m_folgeZeilen = {};
}
