#pragma once
// A skin is a Qt style sheet file; switching it on applies it to the whole
// application, switching off clears it.

#include "services.h"

class QtSkinEngine : public ISkinEngine {
public:
    void load(const QString& absolutePath) override;
    void off() override;
};
