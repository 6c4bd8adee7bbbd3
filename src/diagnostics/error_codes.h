#pragma once
// The texts of the controller's error codes and the list the error memory grid shows. The
// built-in texts are English; a language file replaces codes 0 to 29 while the program runs.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kaldor {

// Code 30 closes the controller's own table; it never stands for a real event.
inline constexpr std::size_t kErrorCodeCount = 31;
inline constexpr unsigned kErrorEndMarker = 30;
// Codes a language file may give a text of its own (text id kFirstErrorTextId + code).
inline constexpr std::size_t kReplaceableErrorTexts = 30;

// The blanks after the short names are part of the texts.
inline constexpr std::array<std::string_view, kErrorCodeCount> kBuiltInErrorTexts{{
    "ND       - Not Defined Error",
    "ErrTr_H  - Reducer Temp. Error High",
    "ErrTr_L  - Reducer Temp. Error Low",
    "ErrTg_H  - Gas Temp. Error High",
    "ErrTg_L  - Gas Temp. Error Low",
    "ErrECUt_H- ECU Internal Temp. High",
    "ErrECUt_L- ECU Internal Temp. Low",
    "ErrPres_H- Erorr Pressure High",
    "ErrPres_L- Erorr Pressure Low",
    "ErrMAF_H - Manifold Pressure Sensor Error High",
    "ErrMAF_L - Manifold Pressure Sensor Error Low",
    "ErrVDC_H - Error VDC Power Module High Voltage",
    "ErrVDC_L - Error VDC Power Module Low Voltage",
    "ErrVDC_L - Error 5VDC Out (Low Voltage)",
    "ErrwGv_1_H- Gas Injection Time Above Max",
    "ErrRpm_H  - RPM's Error High",
    "ErrRpm_L  - RPM's Error Low",
    "ND        - Not Defined Error",
    "ND        - Not Defined Error",
    "ND        - Not Defined Error",
    "ND        - Not Defined Error",
    "ErrInjGchk1- Injector 1 Error",
    "ErrInjGchk2- Injector 2 Error",
    "ErrInjGchk3- Injector 3 Error",
    "ErrInjGchk4- Injector 4 Error",
    "ErrInjGchk5- Injector 5 Error",
    "ErrInjGchk6- Injector 6 Error",
    "ErrInjGchk7- Injector 7 Error",
    "ErrInjGchk8- Injector 8 Error",
    "ErrorEgtTH - EGT Temp. High",
    "NULL:CZYLI KONIEC OPISOW :NULL",
}};

// Shown for a stored code the table has no text for (the end marker included).
inline constexpr std::string_view kUnknownErrorText = "unknown error code";

class ErrorTexts {
public:
    ErrorTexts();

    // A language file's text for code 0..29; false (and nothing changed) for any other code.
    bool replace(std::size_t code, std::string text);
    // The text of a code that can stand for an event, or the unknown-code text.
    [[nodiscard]] const std::string& text(unsigned code) const;
    // One row of the list: the code in decimal, one blank, its text.
    [[nodiscard]] std::string describe(unsigned code) const;

private:
    std::array<std::string, kErrorCodeCount> m_texts;
    std::string m_unknown;
};

// The error memory as the PC keeps it: 256 bytes, words 0..31 the codes in the controller's
// order, word 32 how many are stored; the rest is not interpreted.
class ErrorBlock {
public:
    static constexpr std::size_t kSize = 256;
    static constexpr std::size_t kHalf = kSize / 2;
    static constexpr std::size_t kCodeSlots = 32;
    static constexpr std::size_t kCountWord = 32;
    using Bytes = std::array<std::uint8_t, kSize>;

    [[nodiscard]] std::uint16_t word(std::size_t index) const;
    void setWord(std::size_t index, std::uint16_t value);
    [[nodiscard]] std::uint16_t count() const { return word(kCountWord); }
    // Half 0 is bytes 0-127, half 1 bytes 128-255.
    [[nodiscard]] std::uint8_t* half(int which) {
        return m_bytes.data() + (which == 0 ? 0 : kHalf);
    }
    [[nodiscard]] const Bytes& bytes() const { return m_bytes; }

private:
    Bytes m_bytes{};
};

// Column 1 of `StringGridErrorMemory`, rows 1..32 (index 0 is row 1). No codes: the "NO Errors"
// status text in row 1. A count above 32 lists the 32 codes the memory can hold.
inline constexpr std::size_t kErrorGridRows = ErrorBlock::kCodeSlots;
[[nodiscard]] std::vector<std::string> errorListRows(const ErrorBlock& block,
                                                     const ErrorTexts& texts,
                                                     const std::string& noErrorsText);

}  // namespace kaldor
