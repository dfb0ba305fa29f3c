#ifndef DEVINFO_H
#define DEVINFO_H

#include <QByteArray>
#include <QDialog>
#include <QList>

namespace Ui {
class DevInfo;
}
class QCloseEvent;

// The modem's identity and version block, one read-only dialog per answer.
class DevInfo : public QDialog
{
    Q_OBJECT

public:
    // Number of fields the dialog shows; later values are ignored.
    static constexpr int FieldCount = 10;

    DevInfo(QList<QByteArray> const& values, QWidget* parent = nullptr);
    virtual ~DevInfo();

signals:
    void Delete_DevInfo_Window();

protected:
    void closeEvent(QCloseEvent* e) override;
    // Escape only hides a dialog; it must end this one as closing does.
    void done(int r) override;

private:
    void reportClosed();

    Ui::DevInfo* ui;
    bool bClosedReported = false;
};

#endif // DEVINFO_H
