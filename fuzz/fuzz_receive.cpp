// The response parser with the form behind it: any blocks, on every route,
// with and without the static IP window open.
//
// Input: one byte for the route ('E' Ethernet TCP, 'U' USB, '4' RS485 tunnel,
// '2' RS232 tunnel, 'M' none yet), one byte for the static IP window ('W' open,
// '-' closed), then the blocks as the main window hands them over, separated by 0x1E.

#include "fuzzsupport.h"

#include "devinfo.h"
#include "staticipconfig.h" // and CommSettings
#include "transparentconfig.h" // and ParameterTable

#include <QHostAddress>

using P = AtProtocol;

// Per route letter: how the main window puts the form on it, and the route the
// static IP window was opened on (with no route now, the one that has just gone).
const struct { void (TransparentConfig::*set)(const bool&); CommSettings::eRoute_t panel; }
Routes[] = { { &TransparentConfig::SetETHSettings, CommSettings::TCP },
    { &TransparentConfig::SetUSBSettings, CommSettings::USB },
    { &TransparentConfig::Set485Settings, CommSettings::TCP485 },
    { &TransparentConfig::Set232Settings, CommSettings::TCP232 }, { nullptr, CommSettings::TCP } };

static void feed(TransparentConfig& form, StaticIpConfig* window, const QByteArray& block)
{
    const auto route = form.connectionType();
    const QStringList before = form.paramsAll();
    QByteArray qba = block;
    const P::TrpErr_t result = form.Receive_Callback(qba, window);
    // Framing comes first: a block without its CR LF is refused untouched, one
    // without its + refused. With no route nothing is acted upon.
    fuzz::require(result >= P::err_OK && result < P::err_Max
            && (block.endsWith("\r\n") ? block.startsWith('+') || result == P::err_BeginChr
                                       : result == P::err_EndChr && qba == block)
            && (route != P::eMax || (result != P::err_Unknown && form.paramsAll() == before)),
        "a badly framed block not refused, or one acted upon with no route", block);
    // A read-all answer is kept whole or not at all, and what Apply would then
    // write is what the next read shows, unchanged.
    if (form.paramsAll() != before) {
        const QStringList written = form.writeAllValues();
        QByteArray sent = "+READALL=" + written.join(',').toUtf8() + "\r\n", answer = sent;
        fuzz::require(form.paramsAll().size() >= ParameterTable::parameters(route).size()
                && form.Receive_Callback(answer, nullptr) == P::err_OK
                && form.paramsAll() == written && form.writeAllValues() == written,
            "a short read-all answer was kept, or the form's own values do not come back", sent);
    }
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        open += qobject_cast<DevInfo*>(w) && w->isVisible();
    fuzz::require(open <= DevInfoWindows::MaxOpen, "device information windows pile up", block);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const auto& route = Routes[fuzz::pick(char(data[0]), "EU42M")];
    {
        QScopedPointer<StaticIpConfig> window(
            fuzz::pick(char(data[1]), "-W") ? new StaticIpConfig(route.panel) : nullptr);
        // A fresh form per input, so that a finding replays from its input alone.
        TransparentConfig form;
        if (route.set)
            (form.*route.set)(true);
        QObject::connect(&form, &TransparentConfig::SetCurrentIpAddr, [](const QByteArray& ip) {
            fuzz::require(QHostAddress(QString(ip)).toString() == ip, "current IP malformed", ip);
        });
        for (const QByteArray& block : fuzz::pieces(data + 2, size - 2))
            feed(form, window.data(), block);
    }
    // Windows shown during the input leave posted events behind.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
