// What the standard-control tests share: the shown form, mouse and keyboard input posted to
// windows, pixels read back, and a driver that picks menu items while a menu is open.
#pragma once

#include "AllControlsForm.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

void Pump();
// A left click at a client position of a window, through the message queue.
void ClickAt(HWND wnd, int x, int y);
// A key press (down and up) posted to a window, as the keyboard would send it.
void PressKey(HWND wnd, WPARAM key);
COLORREF PixelAt(HWND wnd, int x, int y);
std::string WindowClassOf(HWND wnd);
std::string WindowTextOf(HWND wnd);

// While a menu opened later is shown, sends it keys after `delay` milliseconds (the menu
// then has been measured and painted): e.g. {VK_DOWN, VK_RETURN} chooses the first item.
class MenuKeyDriver {
public:
    MenuKeyDriver(std::vector<WPARAM> keys, UINT delay = 150);
    ~MenuKeyDriver();
    MenuKeyDriver(const MenuKeyDriver&) = delete;
    MenuKeyDriver& operator=(const MenuKeyDriver&) = delete;
    // Whether the timer found an open menu window.
    bool SawMenu() const;

private:
    UINT_PTR FTimer;
};

class AllControlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<TAllControlsForm, TObjectDeleter> form;
};
