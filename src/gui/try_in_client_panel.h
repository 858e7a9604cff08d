#pragma once

#include <QWidget>

#include <atomic>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tavu {

namespace hub {
struct HubMenu;
class HubServerThread;
} // namespace hub

// "Try in client…": serves a menu on the loopback hub, shows the address to
// paste into a client and lists what the clients send. Hidden until the hub
// runs; the hub stops when the panel is stopped or destroyed.
class TryInClientPanel : public QWidget {
    Q_OBJECT
public:
    explicit TryInClientPanel(QWidget* parent);
    ~TryInClientPanel() override;
    TryInClientPanel(const TryInClientPanel&) = delete;
    TryInClientPanel& operator=(const TryInClientPanel&) = delete;

    // Serves `menu` and shows the panel, or says in an error box why the hub
    // cannot run. One hub for the panel: while it runs, this does nothing and
    // the clients stay where they are.
    void start(hub::HubMenu menu);
    // A hub that runs sends the menu to its clients at once, after the clear
    // command; none that does not.
    void setMenu(hub::HubMenu menu);
    // Stops the hub and joins its thread, and hides the panel.
    void stop();

private slots:
    void CopyAddressButtonClick();

private:
    // Listens on the hub's port, or on any free port when that one cannot be
    // had; says which in the panel. False when neither could be had.
    [[nodiscard]] bool startHub();
    void addClientLine(const QString& line);
    void showLinesLeftOut();

    QLineEdit* AddressEdit;
    QLabel* PortLabel;
    QPushButton* CopyAddressButton;
    QListWidget* ClientMessagesList;

    // The hub's lines on their way to the window's thread, and those left out
    // because too many were on their way.
    std::atomic<int> waitingLines_{0};
    std::atomic<int> linesLeftOut_{0};
    // Stopped and joined before the panel goes: its lines come to the panel.
    std::unique_ptr<hub::HubServerThread> hub_;
};

} // namespace tavu
