// The window's behaviour alone, over controls that only keep what they are given: what no
// real screen here can show.

#include "form/form1.h"
#include "tests/form/fakedesk.h"

#include <memory>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

namespace resipa::testing {
namespace {

struct FakeControl final : TextField, DatePicker {
    std::string text() const override { return value; }
    void setText(const std::string& text) override { value = text; }
    void setSelection(std::size_t, std::size_t) override {}
    void setFocus() override {}
    Date date() const override { return day; }
    void setDate(const Date& date) override { day = date; }

    std::string value;
    Date day;
};

struct FakeWindow final : FormWindow {
    TextField& createTextField(const ControlRecord&, ControlHandlers) override { return add(); }
    DatePicker& createDatePicker(const ControlRecord&, ControlHandlers) override { return add(); }
    Control& createButton(const ControlRecord&, ControlHandlers) override {
        return static_cast<TextField&>(add());
    }
    void createLabel(const ControlRecord&) override {}
    void setTabOrder(std::span<Control* const>) override {}
    void setCaption(const std::string&) override {}
    ScreenArea screenArea() const override { return screen; }
    ScreenArea outerArea() const override { return {0, 0, 845, 470}; }
    void moveTo(float left, float top) override { movedTo = {left, top}; }

    FakeControl& add() { return *controls.emplace_back(std::make_unique<FakeControl>()); }

    ScreenArea screen;
    std::optional<std::pair<float, float>> movedTo;
    std::vector<std::unique_ptr<FakeControl>> controls;
};

// True halves of the room left, the screen's own origin added; a window larger than its screen
// stands out on the left and the top.
TEST(Form1Behaviour, CentredOnItsScreenByTrueHalvesEvenWhenLargerThanIt) {
    const std::tuple<ScreenArea, float, float> cases[] = {
        {{0, 0, 1024, 768}, 89.5f, 149},
        {{1920, 100, 800, 600}, 1897.5f, 165},
        {{0, 0, 640, 400}, -102.5f, -35},
    };
    for (const auto& [screen, left, top] : cases) {
        FakeWindow window;
        window.screen = screen;
        FakeDesk desk;
        Form1 form(window, desk.platform(), "/nowhere");
        form.Form_Load();
        EXPECT_EQ(window.movedTo, std::pair(left, top)) << screen.width;
    }
}

} // namespace
} // namespace resipa::testing
