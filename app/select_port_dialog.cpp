#include "app/select_port_dialog.h"

#include "ecu/com_port_names.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
constexpr int kListWidth = 145;

QPushButton* MakeButton(const char* text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}
} // namespace

SelectPortDialog::SelectPortDialog(const std::vector<int>& ports, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SelectPortDialog"));
    setWindowTitle(QString::fromLatin1(kCaption));
    Label1 = new QLabel(QString::fromLatin1(kLine1), this);
    Label2 = new QLabel(QString::fromLatin1(kLine2), this);
    PortList = new QComboBox(this);
    PortList->setObjectName(QStringLiteral("PortList"));
    PortList->setFixedWidth(kListWidth);
    for (int n : ports) {
        PortList->addItem(ComPortNames::PortText(n), n);
        PortList->setItemData(PortList->count() - 1, ComPortNames::DevicePath(n), Qt::ToolTipRole);
    }
    PortList->setCurrentIndex(ports.empty() ? -1 : 0);
    OkButton = MakeButton("OK", "OkButton", this);
    OkButton->setDefault(true);
    CancelButton = MakeButton("Cancel", "CancelButton", this);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(Label2);
    column->addWidget(PortList, 0, Qt::AlignHCenter);
    column->addLayout(buttons);
    setFixedSize(sizeHint());
}

int SelectPortDialog::ChosenPort() const {
    if (result() != QDialog::Accepted || PortList->currentIndex() < 0)
        return 0;
    return PortList->currentData().toInt();
}

std::vector<int> SelectPortDialog::AvailablePorts(SerialPort& port) {
    std::vector<int> ports;
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        if (port.isAvailable(n))
            ports.push_back(n);
    }
    return ports;
}

int SelectPortDialog::Ask(SerialPort& port, QWidget* parent) {
    SelectPortDialog dialog(AvailablePorts(port), parent);
    dialog.exec();
    return dialog.ChosenPort();
}

SerialPort::PortQuestion SelectPortDialog::QuestionFor(SerialPort& port, QWidget* parent) {
    return [&port, parent] { return Ask(port, parent); };
}
