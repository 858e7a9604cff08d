#!/usr/bin/env bash
# Draws the main window into docs/main-window.png: the example profiles opened,
# the profile Operator chosen and its commands created, the pointer on the
# Create button. The GUI test that checks the window's size takes the picture.
# Then the other windows, shown from that main window, into
# docs/translator-window.png, docs/easy-editor-window.png,
# docs/about-window.png, docs/menu-preview-window.png and docs/menu-items.png;
# their tests run whole and take the pictures on the way.
source "$(dirname "$0")/../scripts/setup.sh"
install_missing_packages
build build
cd "$root/build"
TAVU_SCREENSHOT="$root/docs/main-window.png" QT_QPA_PLATFORM=offscreen ./tavu_gui_tests grabShowsTheWholeWindow
TAVU_SCREENSHOT_DIR="$root/docs" QT_QPA_PLATFORM=offscreen ./tavu_windows_tests >/dev/null
