// The response parser with the form behind it: any blocks, on every route,
// with and without the static IP window open.
//
// Input: one byte for the route ('E' Ethernet TCP, 'U' USB, '4' RS485 tunnel,
// '2' RS232 tunnel, 'M' none yet), one byte for the static IP window ('W' open,
// '-' closed), then the blocks as the main window hands them over, separated by 0x1E.

#include "fuzzsupport.h"

#include "commsettings.h"
#include "devinfo.h"
#include "parametertable.h"
#include "staticipconfig.h"
#include "transparentconfig.h"

#include <QApplication>
#include <QRegularExpression>

namespace {

// Per route letter: how the main window puts the form on it, and the route the
// static IP window was opened on (with no route now, the one that has just gone).
const struct { void (TransparentConfig::*set)(const bool&); CommSettings::eRoute_t panel; }
Routes[] = { { &TransparentConfig::SetETHSettings, CommSettings::TCP },
    { &TransparentConfig::SetUSBSettings, CommSettings::USB },
    { &TransparentConfig::Set485Settings, CommSettings::TCP485 },
    { &TransparentConfig::Set232Settings, CommSettings::TCP232 }, { nullptr, CommSettings::TCP } };

void feed(TransparentConfig& form, StaticIpConfig* window, const QByteArray& block)
{
    const auto route = form.connectionType();
    const QStringList before = form.paramsAll();
    QByteArray qba = block;
    const AtProtocol::TrpErr_t result = form.Receive_Callback(qba, window);
    fuzz::require(
        result >= AtProtocol::err_OK && result < AtProtocol::err_Max, "result out of range", block);
    if (!block.endsWith("\r\n"))
        return fuzz::require(result == AtProtocol::err_EndChr && qba == block,
            "an unterminated block is not rejected untouched", block);
    fuzz::require(block.startsWith('+') || result == AtProtocol::err_BeginChr,
        "a block without + is not rejected", block);
    fuzz::require(route != AtProtocol::eMax
            || (result != AtProtocol::err_Unknown && form.paramsAll() == before),
        "a block was acted upon with no route", block);
    if (form.paramsAll() != before) {
        fuzz::require(form.paramsAll().size() >= ParameterTable::parameters(route).size(),
            "a short read-all answer was kept", block);
        // What Apply would write is what the next read shows, unchanged.
        const QStringList written = form.writeAllValues();
        const QByteArray sent = "+READALL=" + written.join(',').toUtf8() + "\r\n";
        QByteArray answer = sent;
        fuzz::require(form.Receive_Callback(answer, nullptr) == AtProtocol::err_OK,
            "the form's own values are refused", sent);
        fuzz::require(form.paramsAll() == written, "the form's own values are not all kept", sent);
        fuzz::require(form.writeAllValues() == written,
            "the form's own values change on the way back",
            sent + " -> " + form.writeAllValues().join(',').toUtf8());
    }
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        open += qobject_cast<DevInfo*>(w) && w->isVisible();
    fuzz::require(open <= DevInfoWindows::MaxOpen, "device information windows pile up", block);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return fuzz::startApplication(); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto& route = Routes[size > 0 ? fuzz::pick(char(data[0]), "EU42M") : 0];
    const size_t header = qMin<size_t>(size, 2);
    {
        QScopedPointer<StaticIpConfig> window(size > 1 && fuzz::pick(char(data[1]), "-W") == 1
                ? new StaticIpConfig(route.panel)
                : nullptr);
        // A fresh form per input, so that a finding replays from its input alone.
        TransparentConfig form;
        if (route.set)
            (form.*route.set)(true);
        QObject::connect(&form, &TransparentConfig::SetCurrentIpAddr, [](const QByteArray& ip) {
            static const QRegularExpression dotted(QStringLiteral(
                "^(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])(\\.(25[0-5]|2[0-4][0-9]|"
                "1[0-9][0-9]|[1-9]?[0-9])){3}$"));
            fuzz::require(dotted.match(QString::fromLatin1(ip)).hasMatch(),
                "the current IP is not a dotted address", ip);
        });
        for (const QByteArray& block : fuzz::pieces(data + header, size - header))
            feed(form, window.data(), block);
    }
    // Windows shown during the input leave posted events behind.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
