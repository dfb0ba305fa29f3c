#ifndef TRANSPARENTCONFIG_H
#define TRANSPARENTCONFIG_H

#include "atprotocol.h"

#include <QWidget>

// The configuration form. It carries the AT vocabulary as its own static
// members (inherited from AtProtocol) so that callers spell them through it.
class TransparentConfig : public QWidget, public AtProtocol
{
    Q_OBJECT

public:
    explicit TransparentConfig(QWidget* parent = nullptr);
    virtual ~TransparentConfig();
};

#endif // TRANSPARENTCONFIG_H
