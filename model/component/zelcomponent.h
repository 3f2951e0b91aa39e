#pragma once
/// \file

#include "base/core/zelexception.h"
#include "base/core/zellocatederror.h"
#include "model/component/zelcomponenttypes.h"
#include "model/component/zelfont.h"
#include "model/reflect/zelpersistent.h"

#include <QList>
#include <QRectF>
#include <memory>
#include <vector>

class QIODevice;
class TzelReportContext;
class TzelNameIndex;
struct TzelInteractiveEventsParams;

// A name that another object of the report holds already.
class TzelDuplicateNameError : public TzelException
{
public:
    using TzelException::TzelException;
};

/// The base of every object of a template: a place in a tree, a name unique in
/// the report, a rectangle in report units relative to the parent, a font
/// inherited from the parent, restrictions, anchors, hit testing and copying.
class TzelComponent : public TzelPersistent
{
    ZEL_CLASS(TzelComponent, TzelPersistent)

    /// Creates a component whose tree parent is Owner (none for a root).
    explicit TzelComponent(TzelComponent *owner = nullptr);
    /// Frees the children and leaves the parent.
    ~TzelComponent() override;
    TzelComponent(const TzelComponent &) = delete;
    TzelComponent &operator=(const TzelComponent &) = delete;

    /// Creates a component for the designer: IsDesigning is set first.
    template <class T>
    static T *DesignCreate(TzelComponent *owner)
    {
        T *c = new T();
        c->FIsDesigning = true;
        c->SetParent(owner);
        return c;
    }

    // Published at this level.
    /// Name, unique in the report (case ignored); may be empty.
    const QString &Name() const { return FName; }
    /// The names from below the tree's top down to this one
    /// ("Page1.MasterData1.Memo1"); an object without a name stands by its
    /// class. Errors name objects by it.
    QString Path() const;
    /// Renames; raises on a duplicate, an invalid identifier or an inherited
    /// object. Virtual, so that a subclass's rule holds through any pointer.
    virtual void SetName(const QString &value);
    /// Free integer for the user.
    int Tag = 0;

    // Bounds, in report units relative to the parent.
    /// Distance from the parent's left edge.
    double Left() const { return FLeft; }
    /// Sets Left.
    virtual void SetLeft(double value);
    /// Distance from the parent's top edge.
    double Top() const { return FTop; }
    /// Sets Top.
    virtual void SetTop(double value);
    /// Width in report units.
    double Width() const { return FWidth; }
    /// Sets Width.
    virtual void SetWidth(double value);
    /// Height in report units.
    double Height() const { return FHeight; }
    /// Sets Height.
    virtual void SetHeight(double value);
    /// Sets Left, Top, Width and Height in that order through their setters.
    void SetBounds(double left, double top, double width, double height);
    /// Left relative to the top of the tree.
    double AbsLeft() const;
    /// Top relative to the top of the tree.
    double AbsTop() const;

    /// The font; assigning it sets ParentFont to False.
    const TzelFont &Font() const { return FFont; }
    /// Writable access to the font.
    TzelFont &Font() { return FFont; }
    /// Sets Font.
    virtual void SetFont(const TzelFont &value);
    /// Whether the font follows the parent's.
    bool ParentFont() const { return FParentFont; }
    /// Sets ParentFont.
    virtual void SetParentFont(bool value);

    /// Whether the object is shown and printed.
    bool Visible() const { return FVisible; }
    /// Sets Visible.
    virtual void SetVisible(bool value);
    /// Design-time restrictions.
    TzelRestrictions Restrictions() const { return GetRestrictions(); }
    /// Sets Restrictions.
    void SetRestrictions(TzelRestrictions value) { FRestrictions = value; }
    /// Where the object may be edited after it was built.
    TzelEditableFlags Editable;
    /// Edges of the parent the object keeps its distance to.
    TzelAnchors Anchors() const { return FAnchors; }
    /// Sets Anchors.
    virtual void SetAnchors(TzelAnchors value);
    /// Whether the object takes part in mirroring with mcmOnlyAllowed.
    bool AllowMirrorMode = false;
    /// Group of objects that act together (radio groups).
    int GroupIndex = 0;
    /// Traits of the class.
    TzelComponentStyle qzComponentStyle{csPreviewVisible};

    // The tree.
    /// The tree parent, or nullptr.
    TzelComponent *Parent() const { return FParent; }
    /// Moves the component to the end of Value's children (nullptr detaches it).
    virtual void SetParent(TzelComponent *value);
    /// The children in order.
    const QList<TzelComponent *> &Objects() const { return FObjects; }
    /// Puts the child Child at position Index of the children (clamped).
    void MoveChild(TzelComponent *child, int index);
    /// Every descendant, depth first, parents before children; not this component.
    QList<TzelComponent *> AllObjects() const;
    /// The list a container shows (the children by default).
    virtual QList<TzelComponent *> GetContainerObjects() const { return FObjects; }
    /// The topmost ancestor; nullptr for a root.
    TzelComponent *TopParent() const;
    /// The nearest ancestor-or-self that is a report, or nullptr.
    TzelComponent *ReportRoot() const;
    /// What the report at ReportRoot offers its objects, or nullptr.
    TzelReportContext *Context() const;
    /// The context this component offers as the root of a report's tree
    /// (the report answers itself); nullptr for anything else.
    virtual TzelReportContext *AsReportContext() { return nullptr; }
    /// The object that owns this one (frees it with the tree): its report.
    TzelComponent *Owner() const;
    /// The stem of generated names: the class name without "Tzel" and "View".
    virtual QString BaseName() const;

    // State.
    /// Whether the object is edited in the designer.
    bool IsDesigning() const { return FIsDesigning; }
    /// Sets IsDesigning.
    void SetIsDesigning(bool value) { FIsDesigning = value; }
    /// Whether the object is being read from a template.
    bool IsLoading() const { return FIsLoading; }
    /// Sets IsLoading.
    void SetIsLoading(bool value) { FIsLoading = value; }
    /// Whether the object is being built into pages.
    bool IsPrinting() const { return FIsPrinting; }
    /// Sets IsPrinting.
    void SetIsPrinting(bool value) { FIsPrinting = value; }
    /// Whether the object is being written to a template.
    bool IsWriting() const { return FIsWriting; }
    /// Sets IsWriting.
    void SetIsWriting(bool value) { FIsWriting = value; }
    /// Whether the object is selected in the designer.
    bool IsSelected() const { return FIsSelected; }
    /// Sets IsSelected.
    virtual void SetIsSelected(bool value) { FIsSelected = value; }
    /// Inherited from a parent report.
    bool IsAncestor() const { return FIsAncestor; }
    /// Sets IsAncestor.
    void SetIsAncestor(bool value) { FIsAncestor = value; }
    /// Only the ancestor's own properties are written.
    bool AncestorOnlyStream = false;

    // Operations.
    /// Frees the children except inherited ones (which are cleared and kept).
    virtual void Clear();
    /// Gives the component a free name: BaseName followed by a number. With
    /// DefaultReport, that report's names count too.
    void CreateUniqueName(TzelComponent *defaultReport = nullptr);
    /// The first descendant named Name (case ignored), or nullptr.
    virtual TzelComponent *FindObject(const QString &name) const;
    /// Told by the engine after every data row Sender printed, while the
    /// component is in the engine's notify list.
    virtual void OnNotify(TzelComponent * /*sender*/) {}
    /// Called when loading ends.
    virtual void Loaded() {}

    /// The attributes in which this component differs from Other (its
    /// template object), for the prepared-page store. Not const: writing
    /// may move state on (a text split across pages, a picture handed to the
    /// picture store).
    virtual QString Diff(const TzelComponent *other);
    /// The whole difference text against Other (or every property without
    /// one): the serializer's difference attributes, then Diff.
    QString AllDiff(const TzelComponent *other);

    /// Copies the published properties of Source, names and children aside;
    /// what this object refuses goes to the report's errors.
    void Assign(const TzelComponent *source);
    /// Makes this tree a copy of Source's, names and children included;
    /// what the copies refuse goes to the report's errors.
    void AssignAll(const TzelComponent *source);
    /// AssignAll, then links every node to the template object and alias
    /// name of the node at the same place in Source's tree.
    void AssignAllWithOriginals(const TzelComponent *source);
    /// Writes the component as a template (with its children when asked);
    /// Streaming writes no differences from an inherited template.
    virtual void SaveToStream(QIODevice *stream, bool saveChildren = true, bool saveDefaultValues = false,
                              bool streaming = false);
    /// Clears the component and reads it from Stream; non-fatal errors go to
    /// the report's errors. False when the stream could not be read.
    virtual bool LoadFromStream(QIODevice *stream);

    /// The unique name a prepared copy is stored under.
    QString AliasName;
    /// The template object a prepared copy stands for.
    TzelComponent *OriginalComponent = nullptr;

    /// Aligns the children by their Align, after mirroring them with Modes.
    virtual void AlignChildren(bool ignoreInvisible = false, TzelMirrorControlModes modes = {});
    /// Mirrors the content, then the position inside the parent.
    virtual void DoMirror(TzelMirrorControlModes modes);
    /// Mirrors what the component shows; nothing here.
    virtual void MirrorContent(TzelMirrorControlModes) {}
    /// How the component aligns itself; only views align (baHidden: it does not).
    virtual TzelAlign AlignMode() const { return baHidden; }

    // Hit testing, in absolute report units.
    /// Whether the absolute rectangle contains the point (edges included).
    virtual bool IsContain(double x, double y) const;
    /// Whether the absolute rectangle overlaps or touches Rect.
    virtual bool IsInRect(const QRectF &rect) const;
    /// The rectangle 0, 0, Width, Height.
    virtual QRectF GetClientArea() const { return QRectF(0, 0, FWidth, FHeight); }
    /// The deepest object at the point that accepts CanContain, for the designer.
    virtual TzelComponent *GetContainedComponent(double x, double y, TzelComponent *canContain = nullptr);
    /// Adds the objects inside Rect that derive from InheritFrom (rubber-band selection).
    virtual void GetContainedComponents(const QRectF &rect, const TzelClassInfo &inheritFrom,
                                        QList<TzelComponent *> &components, bool selectContainers = false);
    /// Whether Control may be placed in this component.
    virtual bool IsAcceptControl(const TzelComponent *control) const;
    /// Whether this component may be placed in Parent (False here).
    virtual bool IsAcceptAsChild(const TzelComponent *) const { return false; }
    /// Whether the component takes report objects as children.
    virtual bool IsAcceptControls() const { return qzComponentStyle.Contains(csAcceptsZelComponents); }
    /// Adds Obj to a container (False here: not a container).
    virtual bool ContainerAdd(TzelComponent *) { return false; }

    // Interactive routing from the preview and the designer.
    /// Routes a press at X, Y (report units) to the topmost object there that consumes it.
    void MouseDown(double x, double y, TzelInteractiveEventsParams &params);
    /// Routes a move of the pointer to the object under it.
    void MouseMove(double x, double y, TzelInteractiveEventsParams &params);
    /// Routes a release of a button to the object under the pointer.
    void MouseUp(double x, double y, TzelInteractiveEventsParams &params);
    /// Routes a click to the object under the pointer.
    void MouseClick(double x, double y, TzelInteractiveEventsParams &params);
    /// Routes a wheel turn of Delta to the object under the pointer.
    void MouseWheel(double x, double y, int delta, TzelInteractiveEventsParams &params);
    /// The pointer entered this object.
    void MouseEnter(TzelInteractiveEventsParams &params);
    /// The pointer left this object.
    void MouseLeave(TzelInteractiveEventsParams &params);

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelComponent> &p);

    /// A token that lives exactly as long as the component (made on first
    /// use), for references that must turn empty when it is freed.
    std::weak_ptr<void> LifeToken() const
    {
        if (!FLife)
            FLife = std::make_shared<char>(0);
        return FLife;
    }

protected:
    /// Hands Errors to the report's error list, when there is a report.
    void KeepErrors(const QList<TzelLocatedError> &errors);

    /// The restrictions in force (the stored ones here).
    virtual TzelRestrictions GetRestrictions() const { return FRestrictions; }
    /// Called after a child was added to or removed from Objects.
    virtual void ObjectsChanged(TzelComponent *, bool /*added*/) {}
    /// Called when the font changed.
    virtual void FontChanged();
    /// Moves and sizes the children by their anchors before the size changes by DX, DY.
    virtual void UpdateAnchors(double dx, double dy);
    /// Whether a child of this component keeps its own coordinates (dialog pages).
    virtual bool KeepsChildCoordinates() const { return false; }
    /// A band of no kind that the engine makes for objects placed on a page.
    virtual bool IsNullBand() const { return false; }
    /// Mirrored with the band modes rather than the object modes.
    virtual bool MirrorsAsBand() const { return false; }
    /// The difference text always carries "t" (bands).
    virtual bool DiffAlwaysWritesTop() const { return false; }
    /// The difference text never carries "w" (text that sizes its own width).
    virtual bool DiffSkipsWidth() const { return false; }

    // Handlers of the interactive events; True when consumed.
    /// A press on this object; True when consumed.
    virtual bool DoMouseDown(double, double, TzelInteractiveEventsParams &) { return false; }
    /// A move of the pointer over this object; True when consumed.
    virtual bool DoMouseMove(double, double, TzelInteractiveEventsParams &) { return false; }
    /// A release over this object; True when consumed.
    virtual bool DoMouseUp(double, double, TzelInteractiveEventsParams &) { return false; }
    /// A click on this object; True when consumed.
    virtual bool DoMouseClick(double, double, TzelInteractiveEventsParams &) { return false; }
    /// A wheel turn over this object; True when consumed.
    virtual bool DoMouseWheel(double, double, int, TzelInteractiveEventsParams &) { return false; }
    /// The pointer entered this object.
    virtual void DoMouseEnter(TzelInteractiveEventsParams &) {}
    /// The pointer left this object.
    virtual void DoMouseLeave(TzelInteractiveEventsParams &) {}

private:
    friend class TzelNameIndex;


    TzelNameIndex *RootIndex();
    void EnterNames(TzelNameIndex &index);
    void RemoveNames(TzelNameIndex &index);
    void AllObjectsInto(QList<TzelComponent *> &list) const;
    void ApplyParentFont();
    bool RoutingAllowed(const TzelInteractiveEventsParams &params) const;
    template <class Handler>
    void Route(double x, double y, TzelInteractiveEventsParams &params, Handler handler);

    QString FName;
    double FLeft = 0;
    double FTop = 0;
    double FWidth = 0;
    double FHeight = 0;
    TzelFont FFont;
    bool FParentFont = true;
    bool FVisible = true;
    TzelRestrictions FRestrictions;
    TzelAnchors FAnchors{fraLeft, fraTop};
    TzelComponent *FParent = nullptr;
    QList<TzelComponent *> FObjects;
    std::unique_ptr<TzelNameIndex> FNames;
    mutable std::shared_ptr<char> FLife;
    bool FIsDesigning = false;
    bool FIsLoading = false;
    bool FIsPrinting = false;
    bool FIsWriting = false;
    bool FIsSelected = false;
    bool FIsAncestor = false;
    bool FMouseInside = false;
    bool FAnchorsGuard = false;
    bool FFontGuard = false;
};

/// What an error names Obj by: a component by its Path, anything else by its
/// class; empty for none.
QString zelPathOf(const TzelPersistent *obj);
