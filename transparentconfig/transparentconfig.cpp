#include "transparentconfig.h"

TransparentConfig::TransparentConfig(QWidget* parent) : QWidget(parent) {}

TransparentConfig::~TransparentConfig() = default;
