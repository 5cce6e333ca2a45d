#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// The line to the ECU as the link needs it. The Qt implementation wraps QSerialPort; tests use a fake
// and the virtual ECU plugs in through the same interface.
class SerialPort {
public:
    using BytesAvailableHandler = std::function<void(uint16_t count)>;
    using PortLostHandler = std::function<void()>;
    using WriteFailedHandler = std::function<void()>;
    // Asked when port number 0 is opened; answers the chosen port number, or 0 for "Cancel".
    using PortQuestion = std::function<int()>;

    virtual ~SerialPort() = default;

    // 19200 baud, 8N1, no flow control, DTR and RTS asserted, 4096-byte buffers.
    virtual bool open(int portNumber) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Takes up to max received bytes into buffer; answers how many were taken, 0 when none could be.
    virtual std::size_t takeBytes(uint8_t* buffer, std::size_t max) = 0;
    // Queues the bytes for output; false when not all of them could be queued (a failed or short write).
    virtual bool write(const uint8_t* data, std::size_t size) = 0;
    // Discards whatever waits in the input and the output buffer.
    virtual void flush() = 0;
    // Openable, or failing only because it is already in use. Port 0 is never available.
    virtual bool isAvailable(int portNumber) = 0;
    // Why the last open failed, in words for the fitter; empty after a successful open.
    virtual std::string lastError() const { return {}; }

    void setBytesAvailableHandler(BytesAvailableHandler handler) { bytesAvailable_ = std::move(handler); }
    void setPortLostHandler(PortLostHandler handler) { portLost_ = std::move(handler); }
    // Bytes that were queued but then failed on their way out.
    void setWriteFailedHandler(WriteFailedHandler handler) { writeFailed_ = std::move(handler); }
    void setPortQuestion(PortQuestion question) { portQuestion_ = std::move(question); }
    // The number the user chose at the last question; 0 when there was none or it was cancelled.
    int lastChosenPort() const { return lastChosen_; }
    void forgetChosenPort() { lastChosen_ = 0; }

protected:
    void notifyBytesAvailable(uint16_t count) {
        if (bytesAvailable_)
            bytesAvailable_(count);
    }
    void notifyPortLost() {
        if (portLost_)
            portLost_();
    }
    void notifyWriteFailed() {
        if (writeFailed_)
            writeFailed_();
    }
    // The number chosen by the user for port 0, or 0 when there is no question or it was cancelled.
    int askForPort() {
        lastChosen_ = portQuestion_ ? portQuestion_() : 0;
        return lastChosen_;
    }

private:
    BytesAvailableHandler bytesAvailable_;
    PortLostHandler portLost_;
    WriteFailedHandler writeFailed_;
    PortQuestion portQuestion_;
    int lastChosen_ = 0;
};
