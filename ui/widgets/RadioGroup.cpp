#include "ui/widgets/RadioGroup.h"

CRadioButton::CRadioButton(const std::string& imagePath, int32_t id)
    : CButton(imagePath, id, static_cast<char>(-1)) {}

std::vector<CRadioButton*> CRadioGroup::Buttons() const {
    std::vector<CRadioButton*> buttons;
    const_cast<CDrawableGroup&>(m_list).ForEach([&buttons](Drawable* item) {
        if (auto* button = dynamic_cast<CRadioButton*>(item))
            buttons.push_back(button);
    });
    return buttons;
}

CRadioButton* CRadioGroup::AddButton(const std::string& imagePath, int32_t id) {
    auto* button = new CRadioButton(imagePath, id);
    if (destination)
        button->SetDestination(destination);
    m_list.AddTail(button);
    return button;
}

void CRadioGroup::SetDestination(CImageBase* image) {
    destination = image;
    for (CRadioButton* button : Buttons())
        button->SetDestination(image);
}

void CRadioGroup::Select(uint32_t id) {
    selectedId = id;
    for (CRadioButton* button : Buttons()) {
        if (static_cast<uint32_t>(button->commandId) == id)
            button->Press();
        else
            button->Release();
    }
}

void CRadioGroup::ReleaseAll() {
    for (CRadioButton* button : Buttons())
        if (static_cast<uint32_t>(button->commandId) != selectedId)
            button->Release();
}

void CRadioGroup::DisableOthers() {
    for (CRadioButton* button : Buttons()) {
        if (static_cast<uint32_t>(button->commandId) == selectedId)
            continue;
        if (button->releaseWhenLetGo)
            button->Release();
        button->ShowDisabled();
        button->disabled = 1;
    }
}

void CRadioGroup::EnableAll() {
    for (CRadioButton* button : Buttons())
        if (button->disabled) {
            button->ShowPlain();
            button->disabled = 0;
        }
}

int CRadioGroup::HandleEvent(COVEvent& event) {
    const int answer = m_list.HandleEvent(event);
    const std::vector<CRadioButton*> buttons = Buttons();
    for (CRadioButton* button : buttons) {
        const uint32_t id = static_cast<uint32_t>(button->commandId);
        if (button->IsPressed() && id != selectedId) {
            selectedId = id;
            for (CRadioButton* other : buttons)
                if (other != button)
                    other->Release();
        } else if (button->IsReleased() && id == selectedId) {
            button->Press();
        }
    }
    return answer;
}

int CRadioGroup::Draw(int32_t param) {
    for (CRadioButton* button : Buttons())
        button->SetPosition(button->homeX, button->homeY);
    for (CRadioButton* button : Buttons())
        button->Draw(param);
    for (CRadioButton* button : Buttons())
        button->SetPosition(button->homeX + originX, button->homeY + originY);
    return 0;
}
