#include "networkcfg.h"

namespace NetworkCfg {

bool isDottedIpv4(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != NumbersPerAddress)
        return false;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return false;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        if (part.toInt() > 255)
            return false;
    }
    return true;
}

bool fromValues(const QList<QByteArray>& values, Settings* out)
{
    if (values.size() != ValueCount)
        return false;
    out->mac = QString::fromUtf8(values.at(eIdMac_Id));
    out->staticIp = values.at(eIdStaticIp_Enable).toInt() != 0;
    out->addresses.clear();
    for (int item = FirstAddressItem; item < ValueCount; item += NumbersPerAddress) {
        QStringList numbers;
        for (int i = 0; i < NumbersPerAddress; ++i)
            numbers << QString::fromUtf8(values.at(item + i));
        out->addresses << numbers.join(QLatin1Char('.'));
    }
    return true;
}

QString writeFrame(bool staticIp, const QStringList& addresses)
{
    QString frame = QString("%1%2%3").arg(
        AtProtocol::AT_CMD, TrpCfgCmdTexts[eIdWriteNetworkCfg], AtProtocol::AT_SET);
    frame.append(QString("%1,").arg(staticIp ? 1 : 0));
    for (int i = 0; i < addresses.size(); ++i) {
        QString numbers = addresses.at(i);
        numbers.replace(QLatin1Char('.'), QLatin1Char(','));
        frame.append(i + 1 < addresses.size() ? QString("%1%2").arg(numbers, ",") : numbers);
    }
    frame.append(AtProtocol::AT_CRLF);
    return frame;
}

} // namespace NetworkCfg
