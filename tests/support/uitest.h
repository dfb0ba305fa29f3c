#ifndef UITEST_H
#define UITEST_H

#include <QtWidgets>

// A named control of a window; a missing one is a broken test, not a failure.
template <typename T = QWidget> T* control(QWidget& w, const QString& name)
{
    T* found = w.findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

inline QString status(QMainWindow& w) { return w.statusBar()->currentMessage(); }

// The top-level windows of one kind that are open now.
template <typename T> QList<T*> topLevels()
{
    QList<T*> found;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(top))
            found << t;
    return found;
}

// The device command actions (restart, info, ping) and the Device Select ones
// (Ethernet, GSM), 1 for enabled; then whether each Device Select entry carries
// the chosen kind's icon: "11100 10".
inline QString menus(QWidget& w)
{
    QString s;
    for (const char* a : { "RESTART_DEVICE", "GET_INFO", "PING", "Ethernet_Modem", "GSM_Modem" })
        s += w.findChild<QAction*>(QString("action") + a)->isEnabled() ? '1' : '0';
    for (const char* a : { "Ethernet_Modem", "GSM_Modem" })
        s += w.findChild<QAction*>(QString("action") + a)->icon().isNull() ? '0' : '1';
    return s.insert(5, ' ');
}

// Types a peer on this host into the panel and presses the route's connect
// button, as a user does: route "Tcp", "232" or "485".
inline void connectTo(QWidget& w, quint16 port, const QString& route)
{
    const bool tcp = route == "Tcp";
    control<QLineEdit>(w, tcp ? "lineEdit_ServerIp" : "lineEdit_TcpServerIp")->setText("127.0.0.1");
    const QString portField = tcp ? "lineEdit_ServerPort" : "lineEdit_ServerPort" + route;
    control<QLineEdit>(w, qPrintable(portField))->setText(QString::number(port));
    control<QPushButton>(w, qPrintable("pushButton_" + route + "Connect"))->click();
}

#endif // UITEST_H
