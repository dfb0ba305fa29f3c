// The connection panel's address and port fields: any text, finished in any
// field in any order.
//
// Input: edits separated by 0x1E. An edit is one byte naming the field
// ('I' server IP, 'T' tunnel IP, 'P' server port, '4' port 485, '2' port
// 232) and the text, taken as UTF-8.

#include "fuzzsupport.h"

#include "commsettings.h"

#include <QLineEdit>

const struct { const char *objectName, *key; bool port; } Fields[] = {
    { "lineEdit_ServerIp", "Ip", false }, { "lineEdit_TcpServerIp", "IpTcp", false },
    { "lineEdit_ServerPort", "Port", true }, { "lineEdit_ServerPort485", "Port485", true },
    { "lineEdit_ServerPort232", "Port232", true } };

// Made on the first input, once the application is up.
static CommSettings& panel() { static auto* const instance = new CommSettings; return *instance; }

static QStringList stored()
{
    QStringList values;
    for (const auto& f : Fields)
        values << panel().Load(f.key);
    return values;
}

// Finishes an edit as the user would, then checks what the panel kept.
static void finishEdit(int which, const QString& text)
{
    auto* edit = panel().findChild<QLineEdit*>(Fields[which].objectName);
    edit->setText(text);
    QStringList expected = stored();
    const QString typed = edit->text(), old = expected[which];
    QMetaObject::invokeMethod(edit, "editingFinished");
    const QString kept = expected[which] = panel().Load(Fields[which].key);
    // The field shows what is remembered, the typed text or (refused) the old
    // one, and no other key changes.
    fuzz::require((kept == old || kept == typed) && edit->text() == kept && stored() == expected,
        "the field or a stored key holds other than the typed or the old text", typed.toUtf8());
    // What the connect code relies on in a remembered value, whatever the exact
    // rule: four dotted parts, none empty; a port it can dial.
    fuzz::require(kept == old
            || (Fields[which].port ? kept.toInt() >= 1 && kept.toInt() <= 65535
                                   : kept.count('.') >= 3 && !kept.split('.').contains(QString())),
        "stored a value the connect code cannot use", typed.toUtf8());
    // A value the panel has just taken it must take again when left untouched
    // (the old one already was, and finishing it again costs a write).
    if (kept == old)
        return;
    QMetaObject::invokeMethod(edit, "editingFinished");
    fuzz::require(edit->text() == kept && panel().Load(Fields[which].key) == kept,
        "the remembered value is refused when finished again", typed.toUtf8());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Each input starts from a fresh store; every edit sets its field's text first.
    QSettings("Kolvex", "Configurator").remove(QString());
    for (const QByteArray& piece : fuzz::pieces(data, size))
        if (!piece.isEmpty())
            finishEdit(fuzz::pick(piece[0], "ITP42"), QString::fromUtf8(piece.mid(1)));
    return 0;
}
