#include "answerwindows.h"
#include "devinfo.h"

DevInfoWindows::~DevInfoWindows()
{
    for (const QPointer<DevInfo>& dialog : qAsConst(m_open))
        delete dialog.data();
}

int DevInfoWindows::count() const
{
    int open = 0;
    for (const QPointer<DevInfo>& dialog : m_open)
        open += dialog.isNull() ? 0 : 1;
    return open;
}

void DevInfoWindows::add(DevInfo* dialog)
{
    m_open.removeAll(QPointer<DevInfo>());
    m_open.append(dialog);
}

bool DevInfoWindows::remove(QObject* dialog)
{
    for (int i = 0; i < m_open.size(); ++i) {
        if (m_open.at(i).data() == dialog) {
            m_open.removeAt(i);
            return true;
        }
    }
    return false;
}
