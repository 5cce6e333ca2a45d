#pragma once

#include "ecu/serial_port.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <vector>

// Asked by the port layer when the link is to open port number 0: no port was configured, or the
// port list was empty. The fitter picks one of the ports that are there.
class SelectPortDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Select Port";
    static constexpr const char* kLine1 = "The configured serial port is not valid.";
    static constexpr const char* kLine2 = "Please choose another port.";
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 50;

    // `ports` in the order offered; the first one is preselected.
    explicit SelectPortDialog(const std::vector<int>& ports, QWidget* parent = nullptr);

    // The picked port after "OK"; 0 after "Cancel" or when there was nothing to pick.
    int ChosenPort() const;

    // The numbers among kFirstPort..kLastPort that the port service reports available.
    static std::vector<int> AvailablePorts(SerialPort& port);
    // Shows the dialog modally; the answer the port layer expects (ChosenPort).
    static int Ask(SerialPort& port, QWidget* parent);
    // The question for SerialPort::setPortQuestion, asking about `port` itself.
    static SerialPort::PortQuestion QuestionFor(SerialPort& port, QWidget* parent);

    QLabel* Label1;
    QLabel* Label2;
    QComboBox* PortList;
    QPushButton* OkButton;
    QPushButton* CancelButton;
};
