#pragma once

#include "BerichtDefinition.h"
#include "BerichtSeiten.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QObject>
#include <memory>

class TBerichtDatenmenge;
class TBerichtVorbereitung;

/// A report: its fixed definition and the named datasets it prints from. Each run prepares
/// its pages anew; a preview control shows them (BerichtVorschau.h), the renderer draws them.
class TBericht : public QObject
{
    Q_OBJECT

public:
    explicit TBericht(std::shared_ptr<const TBerichtDefinition> definition, QObject* parent = nullptr);
    ~TBericht() override;

    const TBerichtDefinition& Definition() const { return *m_definition; }
    /// Makes a dataset known under its name (not owned).
    void DatenmengeHinzufuegen(TBerichtDatenmenge* datenmenge);

    /// Reads every dataset afresh, in the order they were made known (masters first).
    void DatenAuffrischen();
    /// A run over the datasets as they stand, dated `datum`; the caller drives it.
    std::unique_ptr<TBerichtVorbereitung> NeueVorbereitung(const QDate& datum = QDate::currentDate()) const;
    /// A whole run at once.
    std::shared_ptr<const TBerichtSeiten> Vorbereiten(const QDate& datum = QDate::currentDate()) const;

private:
    std::shared_ptr<const TBerichtDefinition> m_definition;
    QHash<QString, TBerichtDatenmenge*> m_datenmengen;
    QList<TBerichtDatenmenge*> m_reihenfolge;
};
