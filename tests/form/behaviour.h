#pragma once

// What the receipt window does, whichever window system draws it: tables of keys and clicks
// with what must follow, run through a driver that each window system's suite implements over
// its own window.

#include "konversi/amount.h"
#include "platform/platform.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace resipa::testing {

/// Drives one window. Text is UTF-8; controls are named as in the layout.
class FormDriver {
public:
    enum class Key { Enter, Home, End, Backspace, SelectAll };

    virtual ~FormDriver() = default;
    /// A new window, without a profile, its clock on @p today, grouping by @p format.
    virtual void start(const Date& today, const NumberFormat& format) = 0;
    virtual void setToday(const Date& today) = 0;
    /// Gives the control the focus, as the program would.
    virtual void focusOn(std::string_view name) = 0;
    virtual std::string focus() = 0;
    /// Presses @p key in the control that has the focus.
    virtual void press(Key key) = 0;
    /// Types @p text into the control that has the focus, character by character; those a key
    /// cannot type come as an input method commits them.
    virtual void type(std::string_view text) = 0;
    virtual void click(std::string_view name) = 0;
    virtual std::string text(std::string_view name) = 0;
    virtual std::string selectedText(std::string_view name) = 0;
    virtual bool caretAtEnd(std::string_view name) = 0;
    virtual Date date(std::string_view name) = 0;
};

/// Enter from each control: where the focus comes to rest, its text selected, and every field
/// passed on the way selected too.
inline void expectEnterChains(FormDriver& driver) {
    driver.start({2025, 5, 9}, {",", "."});
    for (const char* name : {"txtNomor", "txtTempat", "txtPen", "txtJml", "txtKet", "txtNPer",
                             "txtDesc", "txtAl", "txtNBank", "txtAcc", "txtANB", "txtPimp"}) {
        driver.focusOn(name);
        driver.type("12");
    }
    const char* const chains[][3] = {
        {"Tgl", "txtNomor", nullptr},      {"txtNomor", "txtTempat", nullptr},
        {"txtTempat", "txtPen", nullptr},  {"txtPen", "txtJml", nullptr},
        {"txtJml", "txtKet", "txtBilang"}, {"txtKet", "Command3", nullptr},
        {"txtNPer", "txtDesc", nullptr},   {"txtDesc", "txtAl", nullptr},
        {"txtAl", "txtNBank", nullptr},    {"txtNBank", "txtAcc", nullptr},
        {"txtAcc", "txtANB", nullptr},     {"txtANB", "txtPimp", nullptr},
        {"txtPimp", "Command3", nullptr},  {"txtBilang", "txtBilang", nullptr},
    };
    for (const auto& [from, to, passed] : chains) {
        SCOPED_TRACE(from);
        driver.focusOn(from);
        driver.press(FormDriver::Key::Enter);
        EXPECT_EQ(driver.focus(), to);
        for (const char* field : {to, passed}) {
            if (field && std::string_view(field).starts_with("txt")) {
                EXPECT_EQ(driver.selectedText(field), driver.text(field)) << field;
            }
        }
    }
    EXPECT_EQ(driver.text("txtBilang"), "Dua Belas  Rupiah");
}

/// The amount typed key by key under both conventions: what the field shows, the caret at its
/// end, and the words.
inline void expectAmountTyping(FormDriver& driver) {
    // Typed, shown, words. G and D stand for the grouping and the decimal separator; < Home,
    // > End, \b Backspace, @ select all.
    const char* k1234 = "SeRibu Dua Ratus Tiga Puluh Empat  Rupiah";
    const char* const steps[][3] = {
        {"1", "1", "Satu  Rupiah"},
        {"2", "12", "Dua Belas  Rupiah"},
        {"3", "123", "Seratus Dua Puluh Tiga  Rupiah"},
        {"4", "1G234", k1234},
        {"5", "12G345", "Dua Belas Ribu Tiga Ratus Empat Puluh Lima  Rupiah"},
        {"\b", "1G234", k1234},
        {"D", "1G234", k1234},
        {"G", "1G234", k1234},
        // Every other printable character; G and D are the separators here, <, > and @ keys.
        {"abcdefghijklmnopqrstuvwxyz ABCEFHIJKLMNOPQRSTUVWXYZ!\"#$&'()*+/:;=[\\]^_`{|}~", "1G234",
         k1234},
        {"\u00e9\u00fc", "1G234", k1234}, // composed: an input method commits them
        {"<0", "1G234", k1234},
        {"<-", "-1G234", "Minus SeRibu Dua Ratus Tiga Puluh Empat  Rupiah"},
        {">?", "-1G234?", ""},
        {"@9999999999999", "9G999G999G999G999", "Melewati batas konversi Rupiah"},
        {"@%", "%", ""},
        {"\b", "", ""},
        {"0", "0", " Rupiah"},
    };
    for (const NumberFormat& format : {NumberFormat{",", "."}, NumberFormat{".", ","}}) {
        SCOPED_TRACE("grouped by " + format.groupSeparator);
        driver.start({2025, 5, 9}, format);
        const auto local = [&](std::string text) {
            for (std::size_t at; (at = text.find_first_of("GD")) != std::string::npos;)
                text.replace(at, 1,
                             text[at] == 'G' ? format.groupSeparator : format.decimalSeparator);
            return text;
        };
        // The start's "0" stays unspelled until the first change.
        EXPECT_EQ(driver.text("txtBilang"), "");
        driver.focusOn("txtJml");
        ASSERT_EQ(driver.selectedText("txtJml"), "0");
        for (const auto& [typed, shown, words] : steps) {
            SCOPED_TRACE(typed);
            // Runs of characters typed, between the named keys.
            const std::string keys = local(typed);
            for (std::size_t at = 0, next; at < keys.size(); at = next + 1) {
                next = std::min(keys.find_first_of("<>\b@", at), keys.size());
                driver.type(std::string_view(keys).substr(at, next - at));
                using enum FormDriver::Key;
                if (const auto named = std::string_view("<>\b@").find(keys[next]);
                    next < keys.size())
                    driver.press(std::array{Home, End, Backspace, SelectAll}[named]);
            }
            EXPECT_EQ(driver.text("txtJml"), local(shown));
            EXPECT_TRUE(driver.caretAtEnd("txtJml"));
            EXPECT_EQ(driver.text("txtBilang"), words);
        }
    }
}

/// "Clear" on a later day: the receipt's own fields emptied, the amount 0, the company kept,
/// the focus on the date.
inline void expectClear(FormDriver& driver) {
    driver.start({2025, 5, 9}, {",", "."});
    EXPECT_EQ(driver.date("Tgl"), (Date{2025, 5, 9}));
    for (const char* name : {"txtNomor", "txtTempat", "txtPen", "txtJml", "txtKet", "txtNPer"}) {
        driver.focusOn(name);
        driver.type(std::string_view(name) == "txtNPer" ? "CV Contoh" : "15");
    }
    driver.setToday({2025, 5, 10});
    driver.click("Command2");
    EXPECT_EQ(driver.date("Tgl"), (Date{2025, 5, 10}));
    std::string texts;
    for (const char* name :
         {"txtNomor", "txtTempat", "txtPen", "txtJml", "txtBilang", "txtKet", "txtNPer"})
        texts += driver.text(name) + '|';
    EXPECT_EQ(texts, "|||0|||CV Contoh|");
    EXPECT_EQ(driver.focus(), "Tgl");
}

} // namespace resipa::testing
