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

enum class Rule { Ip, Port };

struct Field
{
    const char* objectName;
    const char* key;
    Rule rule;
};

const Field Fields[] = {
    { "lineEdit_ServerIp", "Ip", Rule::Ip },
    { "lineEdit_TcpServerIp", "IpTcp", Rule::Ip },
    { "lineEdit_ServerPort", "Port", Rule::Port },
    { "lineEdit_ServerPort485", "Port485", Rule::Port },
    { "lineEdit_ServerPort232", "Port232", Rule::Port },
};
const char* const FieldLetters = "ITP42C";
const int CurrentIp = 5;

// What the connect code relies on in a remembered value, whatever the
// exact rule: four dotted parts, none empty; a port it can dial.
bool usable(Rule rule, const QString& text)
{
    if (rule == Rule::Port) {
        const int port = text.toInt();
        return port >= 1 && port <= 65535;
    }
    const QStringList parts = text.split('.');
    return parts.size() >= 4 && !parts.contains(QString());
}

CommSettings* panel;

QByteArray describe(const Field& f, const QString& typed)
{
    return QByteArray(f.objectName) + " <- " + typed.toUtf8();
}

// Finishes an edit as the user would, then checks what the panel kept.
void finishEdit(const Field& f, const QString& text)
{
    auto* edit = panel->findChild<QLineEdit*>(f.objectName);
    edit->setText(text);
    const QString typed = edit->text();
    const QString before = panel->Load(f.key);
    QStringList others;
    for (const Field& o : Fields)
        others << panel->Load(o.key);

    QMetaObject::invokeMethod(edit, "editingFinished");

    const QString stored = panel->Load(f.key);
    const QByteArray what = describe(f, typed);
    if (stored != before) {
        fuzz::require(stored == typed, "stored something else than what was typed", what);
        fuzz::require(usable(f.rule, stored), "stored a value the connect code cannot use", what);
    }
    fuzz::require(edit->text() == typed || edit->text() == stored,
        "the field shows neither the typed nor the remembered text", what);
    fuzz::require(
        edit->text() == stored || stored == before, "a rejected edit changed the store", what);
    int i = 0;
    for (const Field& o : Fields) {
        if (&o != &f)
            fuzz::require(panel->Load(o.key) == others[i], "an edit changed another key", what);
        ++i;
    }

    // Whatever the panel remembers it must take again when the user leaves
    // the field untouched.
    if (!stored.isEmpty()) {
        edit->setText(stored);
        QMetaObject::invokeMethod(edit, "editingFinished");
        fuzz::require(edit->text() == stored && panel->Load(f.key) == stored,
            "the remembered value is refused when finished again", what);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::startGuiApplication();
    panel = new CommSettings;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Each input starts from a fresh store and empty fields.
    QSettings("Kolvex", "Configurator").remove(QString());
    for (const Field& f : Fields)
        panel->findChild<QLineEdit*>(f.objectName)->clear();

    for (const QByteArray& piece : fuzz::pieces(data, size)) {
        if (piece.isEmpty())
            continue;
        const int which = fuzz::pick(piece[0], FieldLetters);
        if (which == CurrentIp)
            panel->SetCurrentIp(piece.mid(1));
        else
            finishEdit(Fields[which], QString::fromUtf8(piece.mid(1)));
    }
    return 0;
}
