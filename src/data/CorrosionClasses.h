#pragma once
// Corrosion-likelihood classes: a reading (kΩ·cm) falls into the first class, from the
// top, whose lower bound it is above; the last class takes the rest. A reading on a bound
// thus goes to the riskier class below it, as the published tables word it (RILEM: high
// ≤ 10, moderate > 10 to 50).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ohmlet {

struct CorrosionClass {
    std::string name;  // UTF-8
    // Readings > lowerBound; not used for the last class. A 32-bit value kept in 64 bits,
    // so that comparing with any reading stays exact.
    int64_t lowerBound;
};

class ClassTable {
public:
    static constexpr std::size_t kMinClasses = 2;
    static constexpr std::size_t kMaxClasses = 6;
    static constexpr std::size_t kMaxNameBytes = 64;

    // OPC concrete at about 20 °C; the default.
    static ClassTable Rilem();
    // Corrosion rate once the steel is depassivated.
    static ClassTable Langford();
    // "rilem" or "langford"; nothing for any other name.
    static std::optional<ClassTable> BuiltIn(std::string_view name);

    // Classes from the highest to the lowest. Checks 2 to 6 classes, names present and
    // distinct, bounds strictly falling; on failure `error` says what is wrong.
    static std::optional<ClassTable> Make(std::string name, std::vector<CorrosionClass> classes,
                                          std::string& error);

    const std::string& Name() const { return name_; }
    const std::vector<CorrosionClass>& Classes() const { return classes_; }
    std::size_t Size() const { return classes_.size(); }

    // Index of the reading's class in Classes().
    std::size_t Classify(int32_t value) const {
        const std::size_t last = classes_.size() - 1;
        for (std::size_t i = 0; i < last; ++i)
            if (value > classes_[i].lowerBound) return i;
        return last;
    }

    // "negligible > 100", "high <= 10": one text per class for legends and listings.
    std::vector<std::string> Ranges() const;

private:
    ClassTable(std::string name, std::vector<CorrosionClass> classes)
        : name_(std::move(name)), classes_(std::move(classes)) {}

    std::string name_;
    std::vector<CorrosionClass> classes_;
};

// A user table from settings keys: Class1..Class6 name the classes from the highest,
// Bound1.. give their lower bounds (every class but the last), Name the table
// (defaultName without it). `lookup` returns a key's value or nothing.
std::optional<ClassTable> ClassTableFromSettings(
    const std::string& defaultName,
    const std::function<std::optional<std::string>(const std::string& key)>& lookup,
    std::string& error);

}  // namespace ohmlet
