// Configuration files: what Apply would send, kept as a file, and a file
// shown in the form for Apply to send.
#include "configfile.h"
#include "kolvexconfigurator.h"
#include "ui_kolvexconfigurator.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>

namespace {
const QString FolderKey = QStringLiteral("ConfigFolder");
const char* const Filter = QT_TRANSLATE_NOOP("KolvexConfigurator", "Quorvane configuration (*.json)");
} // namespace

bool KolvexConfigurator::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &newTransparentConfig && event->type() == QEvent::EnabledChange) {
        ui->actionSave_Configuration->setEnabled(newTransparentConfig.isEnabled());
        ui->actionLoad_Configuration->setEnabled(newTransparentConfig.isEnabled());
    }
    return QMainWindow::eventFilter(watched, event);
}

void KolvexConfigurator::SaveConfiguration_Triggered()
{
    if (!newTransparentConfig.readFirst())
        return;
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Configuration As"),
                                                      newCommSetting.Load(FolderKey), tr(Filter));
    if (!path.isEmpty())
        saveConfigurationFile(path);
}

void KolvexConfigurator::LoadConfiguration_Triggered()
{
    if (!newTransparentConfig.readFirst())
        return;
    const QString path = QFileDialog::getOpenFileName(this, tr("Load Configuration"),
                                                      newCommSetting.Load(FolderKey), tr(Filter));
    if (!path.isEmpty())
        loadConfigurationFile(path);
}

bool KolvexConfigurator::saveConfigurationFile(const QString& path)
{
    if (!newTransparentConfig.readFirst())
        return false;
    const QString name = QFileInfo(path).fileName();
    const QByteArray bytes = ConfigFile::toJson(newTransparentConfig.configuration());
    // Written aside and renamed over the file: a crash or a full disk never
    // leaves half a configuration behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        QMessageBox::warning(this, tr("Save Configuration As"),
                             tr("%1: not saved: %2").arg(name, file.errorString()));
        return false;
    }
    newCommSetting.Save(FolderKey, QFileInfo(path).absolutePath());
    SetStatusBarText(tr("Saved %1").arg(name), 3000);
    return true;
}

bool KolvexConfigurator::loadConfigurationFile(const QString& path)
{
    if (!newTransparentConfig.readFirst())
        return false;
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    // One byte past the limit is enough to refuse a file for its size.
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.read(ConfigFile::MaxBytes + 1) : QByteArray();
    const ConfigFile::Loaded loaded = file.error() != QFile::NoError
        ? ConfigFile::Loaded { false, {}, tr("%1: cannot be read: %2").arg(name, file.errorString()) }
        : ConfigFile::fromJson(bytes, name, AtProtocol::isGsmRoute(newTransparentConfig.connectionType()));
    if (!loaded.ok) {
        QMessageBox::warning(this, tr("Load Configuration"), loaded.error);
        return false;
    }
    const int differing = newTransparentConfig.showConfiguration(loaded.config);
    newCommSetting.Save(FolderKey, QFileInfo(path).absolutePath());
    SetStatusBarText(tr("Loaded %1: %2 of its values differ from the modem's").arg(name).arg(differing), 5000);
    return true;
}
