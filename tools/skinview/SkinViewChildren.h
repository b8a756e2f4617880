// The content of skinview's forms: one MDI child per topic, together showing every skinned
// control kind in its states, and the normal top-level form. Every control gets the skin data
// and a hint; the forms own the controls (as their components).
#pragma once
#include <QString>

class TbsSkinData;
class TCustomForm;
class TLabel;

enum class TChildTopic { ctPanels, ctButtons, ctEdits, ctPages, ctMenus };
constexpr int kChildTopicCount = 5;

// The child's caption ("Panels", "Buttons", "Edits", "Pages", "Menus").
QString ChildTopicCaption(TChildTopic topic);
// The child's size before any tiling.
void ChildTopicSize(TChildTopic topic, int& width, int& height);
// Puts the controls of `topic` on `form`, all drawn from `data`.
void FillChild(TCustomForm& form, TChildTopic topic, TbsSkinData* data);
// Puts a few controls on the normal top-level form.
void FillToolForm(TCustomForm& form, TbsSkinData* data);
