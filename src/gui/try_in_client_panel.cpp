#include "try_in_client_panel.h"

#include "hub/hub_server.h"
#include "message_box.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>

namespace tavu {

namespace {

// The lines of what clients sent that the list keeps, and that may wait for
// the window's thread; older ones leave the list and later ones are left out
// (and counted), so that a client that talks without end cannot make the
// window hold more.
constexpr int kClientLinesKept = 1000;

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString hubAddress(std::uint16_t port) {
    return QStringLiteral("dchub://") + fromUtf8(hub::hostAndPort(std::string(hub::kLoopbackAddress), port));
}

QString fromError(const std::error_code& error) {
    return QString::fromLocal8Bit(error.message());
}

} // namespace

TryInClientPanel::TryInClientPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TryPanel"));
    hide();
    AddressEdit = new QLineEdit(this);
    AddressEdit->setObjectName(QStringLiteral("AddressEdit"));
    AddressEdit->setReadOnly(true);
    CopyAddressButton = new QPushButton(QStringLiteral("Copy address"), this);
    CopyAddressButton->setObjectName(QStringLiteral("CopyAddressButton"));
    CopyAddressButton->setStatusTip(QStringLiteral("Copy the hub's address to paste into your client"));
    PortLabel = new QLabel(this);
    PortLabel->setObjectName(QStringLiteral("PortLabel"));
    PortLabel->setWordWrap(true);
    ClientMessagesList = new QListWidget(this);
    ClientMessagesList->setObjectName(QStringLiteral("ClientMessagesList"));
    ClientMessagesList->setFixedHeight(110);
    // Lines of one height, so that a list scrolled to its end at each line is not laid out anew.
    ClientMessagesList->setUniformItemSizes(true);

    auto* address = new QHBoxLayout;
    address->addWidget(new QLabel(QStringLiteral("Hub address:"), this));
    address->addWidget(AddressEdit, 1);
    address->addWidget(CopyAddressButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(address);
    layout->addWidget(PortLabel);
    layout->addWidget(ClientMessagesList);
    connect(CopyAddressButton, &QPushButton::clicked, this, &TryInClientPanel::CopyAddressButtonClick);
}

// Joined here, while the panel can still take the lines the hub's thread
// sends it.
TryInClientPanel::~TryInClientPanel() {
    hub_.reset();
}

void TryInClientPanel::start(hub::HubMenu menu) {
    if (hub_ != nullptr) {
        return;
    }
    ClientMessagesList->clear();
    // The hub's thread hands each line to the window's thread.
    hub::PrintLine print = [this](const std::string& line) {
        if (waitingLines_.fetch_add(1) >= kClientLinesKept) {
            --waitingLines_;
            // The count goes into the list after the lines that wait, once.
            if (linesLeftOut_++ == 0) {
                QMetaObject::invokeMethod(this, &TryInClientPanel::showLinesLeftOut, Qt::QueuedConnection);
            }
            return;
        }
        QMetaObject::invokeMethod(
            this,
            [this, text = fromUtf8(line)] {
                --waitingLines_;
                addClientLine(text);
            },
            Qt::QueuedConnection);
    };
    hub_ = std::make_unique<hub::HubServerThread>(std::move(menu), std::move(print));
    if (!startHub()) {
        hub_.reset();
        return;
    }
    show();
}

void TryInClientPanel::setMenu(hub::HubMenu menu) {
    if (hub_ != nullptr) {
        hub_->server().setMenu(std::move(menu));
    }
}

void TryInClientPanel::stop() {
    hub_.reset();
    hide();
}

bool TryInClientPanel::startHub() {
    const auto atHubPort = hub_->start(hub::kLoopbackAddress, hub::kDefaultPort);
    QString portNote = QStringLiteral("The hub listens on port %1.").arg(hub::kDefaultPort);
    if (!atHubPort) {
        if (const auto anyPort = hub_->start(hub::kLoopbackAddress, 0); !anyPort) {
            MessageBox::error(window(),
                              QStringLiteral("Cannot serve the output on %1: %2")
                                  .arg(QLatin1String(hub::kLoopbackAddress), fromError(anyPort.failure())));
            return false;
        }
        portNote = QStringLiteral("Port %1 could not be had (%2), so the hub listens on port %3.")
                       .arg(QString::number(hub::kDefaultPort), fromError(atHubPort.failure()),
                            QString::number(hub_->server().port()));
    }
    AddressEdit->setText(hubAddress(hub_->server().port()));
    PortLabel->setText(portNote + QStringLiteral(" Connect an NMDC client to the address; what it sends is "
                                                 "listed below. Closing this window stops the hub."));
    return true;
}

void TryInClientPanel::showLinesLeftOut() {
    const int count = linesLeftOut_.exchange(0);
    addClientLine(QStringLiteral("(%1 line%2 left out: they came faster than this list shows them)")
                      .arg(count)
                      .arg(count == 1 ? QString() : QStringLiteral("s")));
}

void TryInClientPanel::addClientLine(const QString& line) {
    if (ClientMessagesList->count() >= kClientLinesKept) {
        delete ClientMessagesList->takeItem(0);
    }
    ClientMessagesList->addItem(line);
    ClientMessagesList->scrollToBottom();
}

void TryInClientPanel::CopyAddressButtonClick() {
    QGuiApplication::clipboard()->setText(AddressEdit->text());
}

} // namespace tavu
