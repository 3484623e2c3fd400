#pragma once

class DescriptionBox;
class QString;

// The description box as screen readers see it: a read-only, multi-line text whose characters are
// what the box drew, in reading order (Qt's text interface), with one child of the link role for
// each link region that drew text. A link child is named by the whole reference it belongs to,
// and its default action follows the link as a click does.
//
// Link children belong to one drawing. A new drawing makes the earlier ones invalid objects (they
// answer nothing and do nothing) and they are deleted one drawing later, so that a reader that
// still holds one gets an invalid object, never a dangling one.
namespace DescriptionAccessibility {

// Makes Qt's accessibility use these interfaces for every DescriptionBox. Safe to call often.
void Install();

// Before a drawing replaces the links: readers learn that the link children they know go away.
void LinksRemoving(DescriptionBox* box);

// After a drawing: the text changed from `previousText` to the box's new reading text.
void DrawingReplaced(DescriptionBox* box, const QString& previousText);

// The focus frame moved: while the box has the focus, the framed link has it for readers.
void CurrentLinkChanged(DescriptionBox* box);

} // namespace DescriptionAccessibility
