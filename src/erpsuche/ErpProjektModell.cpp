#include "ErpProjektModell.h"

#include "GitterSpalte.h"
#include "MasterProjekt.h"
#include "Suchbegriff.h"

#include <QStringList>

#include <algorithm>
#include <numeric>

namespace {

// The record fields behind the four columns, looked up once.
const std::array<const TMasterFeld*, 4>& spaltenFelder()
{
    static const std::array<const TMasterFeld*, 4> felder = {
        MasterFeld(QStringLiteral("Kommnr")), MasterFeld(QStringLiteral("Bezeichn")),
        MasterFeld(QStringLiteral("Baustelle")), MasterFeld(QStringLiteral("Betreff1"))};
    return felder;
}

// Each DOS byte as the list shows it: through OemNachAnsi, then as a Windows-1252 character.
const std::array<char16_t, 256>& listenZeichen()
{
    static const std::array<char16_t, 256> tabelle = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = AnsiNachUnicode(OemNachAnsi(QByteArray(1, char(b)))).at(0).unicode();
        return t;
    }();
    return tabelle;
}

} // namespace

TErpZeile::TErpZeile(const std::array<QString, 4>& zellen, int32_t nr)
    : m_nr(nr)
{
    qsizetype gesamt = 0;
    for (const QString& z : zellen)
        gesamt += std::min<qsizetype>(z.size(), 255);
    m_text.reserve(gesamt);
    for (size_t i = 0; i < zellen.size(); ++i) {
        // An ERP text field holds at most 254 characters; the cut only guards the length byte.
        const QStringView z = QStringView(zellen[i]).left(255);
        m_laenge[i] = uint8_t(z.size());
        m_text += z;
    }
}

TErpZeile TErpZeile::ausSatz(const TMasterProjekt& satz, int32_t nr)
{
    // One pass per cell from the record's bytes into the row's one text.
    TErpZeile zeile;
    zeile.m_nr = nr;
    std::array<QByteArrayView, 4> bytes;
    qsizetype gesamt = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = satz.textAnsicht(*spaltenFelder()[i]);
        zeile.m_laenge[i] = uint8_t(bytes[i].size());
        gesamt += bytes[i].size();
    }
    zeile.m_text = QString(gesamt, Qt::Uninitialized);   // exactly this long: 100,000 rows add up
    char16_t* ziel = reinterpret_cast<char16_t*>(zeile.m_text.data());
    const std::array<char16_t, 256>& zeichen = listenZeichen();
    for (const QByteArrayView& b : bytes)
        for (char c : b)
            *ziel++ = zeichen[uint8_t(c)];
    return zeile;
}

QStringView TErpZeile::zelle(int spalte) const
{
    if (spalte < 0 || spalte >= int(m_laenge.size()))
        return {};
    qsizetype anfang = 0;
    for (int i = 0; i < spalte; ++i)
        anfang += m_laenge[size_t(i)];
    return QStringView(m_text).mid(anfang, m_laenge[size_t(spalte)]);
}

QString Sortierschluessel(QStringView text)
{
    return Grundform(text);
}

TErpProjektModell::TErpProjektModell(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void TErpProjektModell::zeilenAnhaengen(std::vector<TErpZeile> zeilen)
{
    if (zeilen.empty())
        return;
    const int erste = rowCount();
    beginInsertRows({}, erste, erste + int(zeilen.size()) - 1);
    if (m_zeilen.empty())
        m_zeilen = std::move(zeilen);
    else
        m_zeilen.insert(m_zeilen.end(), std::make_move_iterator(zeilen.begin()), std::make_move_iterator(zeilen.end()));
    m_sortSpalte = -1;
    endInsertRows();
}

void TErpProjektModell::leeren()
{
    beginResetModel();
    m_zeilen.clear();
    m_zeilen.shrink_to_fit();
    m_sortSpalte = -1;
    endResetModel();
}

QString TErpProjektModell::zelle(int zeile, int spalte) const
{
    if (zeile < 0 || zeile >= rowCount())
        return {};
    return m_zeilen[size_t(zeile)].zelle(spalte).toString();
}

int TErpProjektModell::suchen(int spalte, const QString& anfang) const
{
    auto passt = [&](size_t i) { return m_zeilen[i].zelle(spalte).startsWith(anfang, Qt::CaseInsensitive); };
    if (spalte != m_sortSpalte || m_sortOrdnung != Qt::AscendingOrder) {
        for (size_t i = 0; i < m_zeilen.size(); ++i)
            if (passt(i))
                return int(i);
        return -1;
    }
    // Sorted by this column: every cell beginning with the text has a sort key beginning with
    // the text's key, and those rows stand together. The first of them that begins with the
    // text itself is the first from the top.
    const QString schluessel = Sortierschluessel(anfang);
    const auto block = std::partition_point(m_zeilen.begin(), m_zeilen.end(), [&](const TErpZeile& z) {
        return Sortierschluessel(z.zelle(spalte)) < schluessel;
    });
    for (size_t i = size_t(block - m_zeilen.begin()); i < m_zeilen.size(); ++i) {
        if (passt(i))
            return int(i);
        if (!Sortierschluessel(m_zeilen[i].zelle(spalte)).startsWith(schluessel))
            break;
    }
    return -1;
}

void TErpProjektModell::sort(int spalte, Qt::SortOrder reihenfolge)
{
    if (spalte < 0 || spalte >= SpaltenAnzahl || (spalte == m_sortSpalte && reihenfolge == m_sortOrdnung))
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    const size_t n = m_zeilen.size();
    std::vector<QString> schluessel(n);
    for (size_t i = 0; i < n; ++i)
        schluessel[i] = Sortierschluessel(m_zeilen[i].zelle(spalte));
    std::vector<int> folge(n);
    std::iota(folge.begin(), folge.end(), 0);
    const bool absteigend = reihenfolge == Qt::DescendingOrder;
    std::sort(folge.begin(), folge.end(), [&](int a, int b) {
        const int v = schluessel[size_t(a)].compare(schluessel[size_t(b)]);
        if (v != 0)
            return absteigend ? v > 0 : v < 0;
        return m_zeilen[size_t(a)].nr() < m_zeilen[size_t(b)].nr();
    });
    schluessel = {};

    std::vector<TErpZeile> sortiert;
    sortiert.reserve(n);
    std::vector<int> neueZeile(n);
    for (size_t i = 0; i < n; ++i) {
        neueZeile[size_t(folge[i])] = int(i);
        sortiert.push_back(std::move(m_zeilen[size_t(folge[i])]));
    }
    m_zeilen = std::move(sortiert);
    m_sortSpalte = spalte;
    m_sortOrdnung = reihenfolge;

    // The view's current row and selection move with their rows.
    const QModelIndexList alt = persistentIndexList();
    QModelIndexList neu;
    neu.reserve(alt.size());
    for (const QModelIndex& index : alt)
        neu.append(index.isValid() ? this->index(neueZeile[size_t(index.row())], index.column()) : QModelIndex());
    changePersistentIndexList(alt, neu);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TErpProjektModell::rowCount(const QModelIndex& eltern) const
{
    return eltern.isValid() ? 0 : int(m_zeilen.size());
}

int TErpProjektModell::columnCount(const QModelIndex& eltern) const
{
    return eltern.isValid() ? 0 : SpaltenAnzahl;
}

QVariant TErpProjektModell::data(const QModelIndex& index, int rolle) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (rolle == Qt::DisplayRole || rolle == Qt::EditRole || rolle == GitterRolle::Rohwert)
        return m_zeilen[size_t(index.row())].zelle(index.column()).toString();
    return {};
}

QVariant TErpProjektModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const
{
    if (richtung == Qt::Horizontal && rolle == Qt::DisplayRole)
        return spaltenTitel(abschnitt);
    return {};
}

Qt::ItemFlags TErpProjektModell::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QString TErpProjektModell::spaltenTitel(int spalte)
{
    static const QStringList titel = {QStringLiteral("PROJEKT"), QStringLiteral("KUNDE"), QStringLiteral("BAUSTELLE"),
                                      QStringLiteral("BETREFF")};
    return spalte >= 0 && spalte < titel.size() ? titel.at(spalte) : QString();
}
