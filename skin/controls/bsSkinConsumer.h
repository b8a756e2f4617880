// TbsSkinConsumer: what every skinned control offers so that a change of skin reaches it. The
// frame component of a form walks the form's controls and, for each one that reads the skin
// data being replaced, drops its section before the change and looks it up again after it.
// GUI thread only.
#pragma once

class TbsSkinData;

class TbsSkinConsumer {
 public:
  virtual ~TbsSkinConsumer() = default;
  // The skin data the control reads (referenced, not owned); null when it has none.
  virtual TbsSkinData* SkinData() const = 0;
  // Drops the section index and anything taken from the skin that is about to go.
  virtual void ForgetSkinSection() = 0;
  // Looks the section up again, takes the size and shape the skin imposes, and repaints.
  virtual void ApplySkinData() = 0;
};
