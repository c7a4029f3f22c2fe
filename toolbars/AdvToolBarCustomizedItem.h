#pragma once
// What the toolbar customizer needs of an item it can make, apart from glow buttons.

namespace AdvToolBar {

// The command the item was made for, whether the customizer made it and whether its
// image-list image wins over an action's. Glow buttons keep
// these in their toolbar fields; toolbar buttons implement this.
class ICustomizedItem {
public:
    virtual int CustomizerCommandID() const = 0;
    virtual void SetCustomizerCommandID(int value) = 0;
    virtual bool CustomizerCreated() const = 0;
    virtual void SetCustomizerCreated(bool value) = 0;
    // Draw the image-list image even when an action brings its own.
    virtual bool CustomizerForceImageIndex() const = 0;
    virtual void SetCustomizerForceImageIndex(bool value) = 0;

protected:
    ~ICustomizedItem() = default;
};

}  // namespace AdvToolBar
