// The window's behaviour alone, over fake controls that do what a window system's do: the
// shared tables of keys and clicks, and the centring that no real screen here can show.

#include "document/utf8.h"
#include "form/form1.h"
#include "tests/form/behaviour.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>

namespace resipa::testing {
namespace {

/// A control as a window system keeps it: a field's text and selection, edited by keys as an
/// edit control edits them (the tables type ASCII into fields, so a byte is a character), or
/// the date picker's date. Focus moves through the window's @p focusOn.
struct FakeControl final : TextField, DatePicker {
    FakeControl(const ControlRecord& record, ControlHandlers handlers,
                std::function<void(FakeControl&)> focusOn)
        : record(record)
        , handlers(std::move(handlers))
        , focusOn(std::move(focusOn))
        , value(record.caption)
        , start(value.size())
        , end(start) {}

    std::string text() const override { return value; }
    void setText(const std::string& text) override { replace(0, value.size(), text); }
    void setSelection(std::size_t from, std::size_t length) override {
        start = std::min(from, value.size());
        end = std::min(from + length, value.size());
    }
    void setFocus() override { focusOn(*this); }
    Date date() const override { return day; }
    void setDate(const Date& date) override { day = date; }

    void typed(char32_t character) {
        int KeyCode = character < 0x80 ? std::toupper(static_cast<int>(character)) : 0;
        if (handlers.keyDown)
            handlers.keyDown(KeyCode, 0);
        if (handlers.keyPress)
            handlers.keyPress(character);
        if (character != 0 && editable()) {
            std::string utf8;
            appendUtf8(utf8, character);
            replace(start, end, utf8);
        }
    }
    void edited(FormDriver::Key key) {
        using enum FormDriver::Key;
        if (key == Home || key == End)
            start = end = key == Home ? 0 : value.size();
        if (key == SelectAll)
            setSelection(0, value.size());
        if (key == Backspace && editable())
            replace(start == end && start > 0 ? start - 1 : start, end, {});
    }
    bool editable() const {
        return record.kind == ControlKind::TextField && !(record.flags & ReadOnly);
    }
    // The caret after what came in; the change told only when the text is another.
    void replace(std::size_t from, std::size_t to, const std::string& with) {
        if (value.compare(from, to - from, with) == 0)
            return;
        value.replace(from, to - from, with);
        start = end = from + with.size();
        if (handlers.change)
            handlers.change();
    }

    const ControlRecord& record;
    ControlHandlers handlers;
    std::function<void(FakeControl&)> focusOn;
    std::string value;
    std::size_t start;
    std::size_t end;
    Date day;
};

/// A desktop without files, its clock and number rules set by the test.
struct FakeDesk final : FileSystem, Clock, NumberRules, Shell, MessageBox, EventLoop {
    Platform platform() { return {*this, *this, *this, *this, *this, *this}; }
    bool isFile(const std::filesystem::path&) const override { return false; }
    using Path = const std::filesystem::path&;
    Result<std::unique_ptr<InputFile>> openForReading(Path) override { return Failure{}; }
    Result<std::unique_ptr<OutputFile>> openForWriting(Path) override { return Failure{}; }
    Result<std::unique_ptr<PrivateFolder>> openPrivateFolder(Path) override { return Failure{}; }
    Date today() const override { return day; }
    LocalTime now() const override { return {day, 0, 0, 0, {}}; }
    NumberFormat numberFormat() const override { return format; }
    Result<> openDocument(const std::filesystem::path&, LaterFailure) override { return {}; }
    void inform(const std::string&, const std::string&) override {}
    void runPendingEvents() override {}
    void endProgram() override {}

    Date day;
    NumberFormat format;
};

/// The window and its driver in one.
class FakeDriver final : public FormDriver, public FormWindow {
public:
    void start(const Date& today, const NumberFormat& format) override {
        form.reset();
        byName.clear();
        focused = nullptr;
        desk.day = today;
        desk.format = format;
        form = std::make_unique<Form1>(*this, desk.platform(), "/nowhere");
        form->Form_Load();
    }
    void setToday(const Date& today) override { desk.day = today; }
    void focusOn(std::string_view name) override { named(name).setFocus(); }
    std::string focus() override { return focused ? focused->record.name : ""; }
    void press(Key key) override {
        if (key != Key::Enter)
            return focused->edited(key);
        if (int KeyCode = 13; focused->handlers.keyDown)
            focused->handlers.keyDown(KeyCode, 0);
        if (focused->handlers.click)
            focused->handlers.click();
    }
    void type(std::string_view text) override {
        for (std::size_t at = 0; at < text.size(); at += decodeUtf8(text, at).length)
            focused->typed(decodeUtf8(text, at).codePoint);
    }
    void click(std::string_view name) override {
        focusOn(name);
        named(name).handlers.click();
    }
    std::string text(std::string_view name) override { return named(name).value; }
    std::string selectedText(std::string_view name) override {
        const FakeControl& field = named(name);
        return field.value.substr(field.start, field.end - field.start);
    }
    bool caretAtEnd(std::string_view name) override {
        const FakeControl& field = named(name);
        return field.start == field.value.size() && field.end == field.start;
    }
    Date date(std::string_view name) override { return named(name).day; }

    TextField& createTextField(const ControlRecord& record, ControlHandlers handlers) override {
        return made(record, std::move(handlers));
    }
    DatePicker& createDatePicker(const ControlRecord& record, ControlHandlers handlers) override {
        return made(record, std::move(handlers));
    }
    Control& createButton(const ControlRecord& record, ControlHandlers handlers) override {
        return static_cast<TextField&>(made(record, std::move(handlers)));
    }
    void createLabel(const ControlRecord&) override {}
    void setTabOrder(std::span<Control* const>) override {}
    void setCaption(const std::string&) override {}
    ScreenArea screenArea() const override { return screen; }
    ScreenArea outerArea() const override { return {0, 0, 845, 470}; }
    void moveTo(float left, float top) override { movedTo = {left, top}; }

    FakeControl& made(const ControlRecord& record, ControlHandlers handlers) {
        auto& fake = byName[record.name];
        fake = std::make_unique<FakeControl>(record, std::move(handlers), [this](FakeControl& to) {
            if (std::exchange(focused, &to) != &to && to.handlers.gotFocus)
                to.handlers.gotFocus();
        });
        return *fake;
    }
    FakeControl& named(std::string_view name) { return *byName.find(name)->second; }

    ScreenArea screen{0, 0, 1024, 768};
    std::optional<std::pair<float, float>> movedTo;
    FakeDesk desk;
    std::map<std::string, std::unique_ptr<FakeControl>, std::less<>> byName;
    FakeControl* focused = nullptr;
    std::unique_ptr<Form1> form;
};

TEST(Form1Behaviour, EnterLeadsAlongTheChainsSelectingEveryFieldItPasses) {
    FakeDriver driver;
    expectEnterChains(driver);
}

TEST(Form1Behaviour, AmountIsRegroupedAndSpelledKeyByKeyInBothConventions) {
    FakeDriver driver;
    expectAmountTyping(driver);
}

TEST(Form1Behaviour, ClearEmptiesTheReceiptForTheNextDayAndKeepsTheCompany) {
    FakeDriver driver;
    expectClear(driver);
}

// True halves of the room left, the screen's own origin added; a window larger than its screen
// stands out on the left and the top.
TEST(Form1Behaviour, CentredOnItsScreenByTrueHalvesEvenWhenLargerThanIt) {
    const std::tuple<ScreenArea, float, float> cases[] = {
        {{0, 0, 1024, 768}, 89.5f, 149},
        {{1920, 100, 800, 600}, 1897.5f, 165},
        {{0, 0, 640, 400}, -102.5f, -35},
    };
    for (const auto& [screen, left, top] : cases) {
        FakeDriver driver;
        driver.screen = screen;
        driver.start({2025, 5, 9}, {",", "."});
        EXPECT_EQ(driver.movedTo, std::pair(left, top)) << screen.width;
    }
}

} // namespace
} // namespace resipa::testing
