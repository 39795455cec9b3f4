#include "app/application.h"

#include <new>

#include "geometry/box.h"

bool Application::CreateScene() {
    m_pBox = new (std::nothrow) Box(m_pDevice);
    if (m_pBox == NULL) {
        return false;  // out of memory: start-up fails rather than running without a scene
    }
    m_pBox->SetCentre(0.0f, 0.0f, 0.0f);
    return true;
}
