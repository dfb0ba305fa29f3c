// The connection panel's address and port fields: any text, finished in any
// field in any order, plus the modem's current-IP answer shown in the panel.
//
// Input: edits separated by 0x1E. An edit is one byte naming the field
// ('I' server IP, 'T' tunnel IP, 'P' server port, '4' port 485, '2' port
// 232, 'C' the current-IP answer) and the text, taken as UTF-8.

#include "fuzzsupport.h"

#include "commsettings.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>

namespace {

const struct { const char *objectName, *key; bool port; } Fields[] = {
    { "lineEdit_ServerIp", "Ip", false }, { "lineEdit_TcpServerIp", "IpTcp", false },
    { "lineEdit_ServerPort", "Port", true }, { "lineEdit_ServerPort485", "Port485", true },
    { "lineEdit_ServerPort232", "Port232", true } };
const int CurrentIp = 5; // the letter after the fields'

// Made on the first input, once the application is up.
CommSettings& panel() { static auto* const instance = new CommSettings; return *instance; }

QStringList stored()
{
    QStringList values;
    for (const auto& f : Fields)
        values << panel().Load(f.key);
    return values;
}

// Finishes an edit as the user would, then checks what the panel kept.
void finishEdit(int which, const QString& text)
{
    const auto& f = Fields[which];
    auto* edit = panel().findChild<QLineEdit*>(f.objectName);
    edit->setText(text);
    QStringList before = stored();
    const QString typed = edit->text(), old = before[which];
    QMetaObject::invokeMethod(edit, "editingFinished");
    const QString kept = panel().Load(f.key);
    const QByteArray what = QByteArray(f.objectName) + " <- " + typed.toUtf8();
    // What the connect code relies on in a remembered value, whatever the exact
    // rule: four dotted parts, none empty; a port it can dial.
    const QStringList parts = kept.split('.');
    fuzz::require(kept == old || kept == typed, "stored something else than what was typed", what);
    fuzz::require(kept == old
            || (f.port ? kept.toInt() >= 1 && kept.toInt() <= 65535
                       : parts.size() >= 4 && !parts.contains(QString())),
        "stored a value the connect code cannot use", what);
    fuzz::require(edit->text() == typed || edit->text() == kept,
        "the field shows neither the typed nor the remembered text", what);
    fuzz::require(edit->text() == kept || kept == old, "a rejected edit changed the store", what);
    before[which] = kept;
    fuzz::require(stored() == before, "an edit changed another key", what);
    // Whatever the panel remembers it must take again when the user leaves the
    // field untouched.
    if (kept.isEmpty())
        return;
    edit->setText(kept);
    QMetaObject::invokeMethod(edit, "editingFinished");
    fuzz::require(edit->text() == kept && panel().Load(f.key) == kept,
        "the remembered value is refused when finished again", what);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return fuzz::startApplication(); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Each input starts from a fresh store and empty fields.
    QSettings("Kolvex", "Configurator").remove(QString());
    for (const auto& f : Fields)
        panel().findChild<QLineEdit*>(f.objectName)->clear();
    for (const QByteArray& piece : fuzz::pieces(data, size)) {
        const int which = piece.isEmpty() ? -1 : fuzz::pick(piece[0], "ITP42C");
        if (which == CurrentIp)
            panel().SetCurrentIp(piece.mid(1));
        else if (which >= 0)
            finishEdit(which, QString::fromUtf8(piece.mid(1)));
    }
    return 0;
}
