// The response parser with the form behind it: any blocks, on every route,
// with and without the static IP window open.
//
// Input: one byte for the route ('E' Ethernet TCP, 'U' USB, '4' RS485
// tunnel, '2' RS232 tunnel, 'M' none yet), one byte for the static IP window
// ('W' open, '-' closed), then the blocks as the main window hands them
// over, separated by 0x1E.

#include "fuzzsupport.h"

#include "commsettings.h"
#include "devinfo.h"
#include "parametertable.h"
#include "staticipconfig.h"
#include "transparentconfig.h"
#include "tst_receive_fixtures.h"

#include <QApplication>
#include <QRegularExpression>

#include <memory>

using Route = AtProtocol::eConnection_State_t;

namespace {

const Route Routes[] = { AtProtocol::eETH, AtProtocol::eUSB, AtProtocol::eTCP485,
    AtProtocol::eTCP232, AtProtocol::eMax };
// The route the static IP window was opened on; with no route now, the one
// that has just gone.
const CommSettings::eRoute_t PanelRoutes[] = { CommSettings::TCP, CommSettings::USB,
    CommSettings::TCP485, CommSettings::TCP232, CommSettings::TCP };

int openDevInfoWindows()
{
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        open += qobject_cast<DevInfo*>(w) && w->isVisible() ? 1 : 0;
    return open;
}

void checkCurrentIp(const QByteArray& text)
{
    static const QRegularExpression dotted(
        QStringLiteral("^(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])(\\.(25[0-5]|2[0-4][0-9]|"
                       "1[0-9][0-9]|[1-9]?[0-9])){3}$"));
    fuzz::require(dotted.match(QString::fromLatin1(text)).hasMatch(),
        "the current IP is not a dotted address", text);
}

// The form's own values must come back unchanged through a read-all answer:
// what Apply would write is what the next read shows.
void checkRoundTrip(TransparentConfig& form)
{
    const QStringList written = form.writeAllValues();
    QByteArray answer = "+READALL=" + written.join(',').toUtf8() + "\r\n";
    const QByteArray sent = answer;
    fuzz::require(form.Receive_Callback(answer, nullptr) == AtProtocol::err_OK,
        "the form's own values are refused", sent);
    fuzz::require(form.paramsAll() == written, "the form's own values are not all kept", sent);
    fuzz::require(form.writeAllValues() == written, "the form's own values change on the way back",
        sent + " -> " + form.writeAllValues().join(',').toUtf8());
}

void feed(TransparentConfig& form, StaticIpConfig* window, const QByteArray& block)
{
    const Route route = form.connectionType();
    const QStringList paramsBefore = form.paramsAll();
    QByteArray qba = block;
    const AtProtocol::TrpErr_t result = form.Receive_Callback(qba, window);

    fuzz::require(
        result >= AtProtocol::err_OK && result < AtProtocol::err_Max, "result out of range", block);
    if (!block.endsWith("\r\n")) {
        fuzz::require(result == AtProtocol::err_EndChr && qba == block,
            "an unterminated block is not rejected untouched", block);
        return;
    }
    if (!block.startsWith('+'))
        fuzz::require(
            result == AtProtocol::err_BeginChr, "a block without + is not rejected", block);
    if (route == AtProtocol::eMax)
        fuzz::require(result != AtProtocol::err_Unknown && form.paramsAll() == paramsBefore,
            "a block was acted upon with no route", block);
    if (form.paramsAll() != paramsBefore) {
        fuzz::require(form.paramsAll().size() >= ParameterTable::parameters(route).size(),
            "a short read-all answer was kept", block);
        checkRoundTrip(form);
    }
    fuzz::require(openDevInfoWindows() <= DevInfoWindows::MaxOpen,
        "device information windows pile up", block);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int route = size > 0 ? fuzz::pick(char(data[0]), "EU42M") : 0;
    const bool withWindow = size > 1 && fuzz::pick(char(data[1]), "-W") == 1;
    const size_t header = qMin<size_t>(size, 2);

    // A fresh form per input, so that a finding replays from its input alone.
    auto form = std::make_unique<TransparentConfig>();
    std::unique_ptr<StaticIpConfig> window;
    if (withWindow)
        window = std::make_unique<StaticIpConfig>(PanelRoutes[route]);
    setRoute(*form, Routes[route]);
    QObject::connect(form.get(), &TransparentConfig::SetCurrentIpAddr, &checkCurrentIp);

    for (const QByteArray& block : fuzz::pieces(data + header, size - header))
        feed(*form, window.get(), block);

    form.reset();
    window.reset();
    // Windows shown during the input leave posted events behind.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
