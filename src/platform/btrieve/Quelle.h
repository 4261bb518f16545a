#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Random read access to the bytes of a Btrieve file: the file itself, or bytes in memory
// (tests, fuzzing). Reads past the end throw btrieve::Defekt with status 2.
namespace btrieve {

class Quelle
{
public:
    virtual ~Quelle() = default;
    virtual uint64_t groesse() const = 0;
    virtual void lesen(uint64_t position, uint8_t* ziel, size_t anzahl) const = 0;
    // Changes whenever the file is written; memory never changes.
    virtual uint64_t stempel() const { return 0; }
    // True while the last write is so recent that another one in the same clock tick would not
    // change the stamp.
    virtual bool kuerzlichGeschrieben() const { return false; }
};

// A file opened read-only. Another program may write it meanwhile; every read sees it as it
// stands and the stamp tells that it changed.
class Dateiquelle : public Quelle
{
public:
    // Opens the file; on failure returns nullptr and the engine's status in status.
    static std::unique_ptr<Dateiquelle> oeffnen(const std::string& pfad, int16_t& status);
    ~Dateiquelle() override;

    uint64_t groesse() const override;
    void lesen(uint64_t position, uint8_t* ziel, size_t anzahl) const override;
    uint64_t stempel() const override;
    bool kuerzlichGeschrieben() const override;

private:
    explicit Dateiquelle(int fd) : m_fd(fd) {}
    int m_fd;
};

class Speicherquelle : public Quelle
{
public:
    Speicherquelle(const uint8_t* daten, size_t laenge) : m_daten(daten), m_laenge(laenge) {}
    explicit Speicherquelle(std::vector<uint8_t> daten)
        : m_eigen(std::move(daten)), m_daten(m_eigen.data()), m_laenge(m_eigen.size()) {}

    uint64_t groesse() const override { return m_laenge; }
    void lesen(uint64_t position, uint8_t* ziel, size_t anzahl) const override;

private:
    std::vector<uint8_t> m_eigen;
    const uint8_t* m_daten;
    size_t m_laenge;
};

} // namespace btrieve
