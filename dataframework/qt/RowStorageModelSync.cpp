// How TRowStorageModel follows its storage: the notes of the storage's
// listener mark which nodes may have other children (structure) or other
// values; when the storage's operation has ended, each marked node's
// children are compared with those a fresh model would have, and the
// difference goes out as row removals and insertions (the rows that keep
// their order stay, with their indexes), then dataChanged per parent for
// the rows whose values changed.
#include <algorithm>
#include <exception>
#include <unordered_map>
#include <utility>

#include "dataframework/elements/CustomRowStorage.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/RowStorageTreeKey.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/qt/RowStorageModel.h"

namespace dataframework::qt {

using dataframework::TAbstractRow;
using dataframework::TSubTotalRow;

namespace {

// Children that hold a row, counted up to two (enough to tell whether the
// row may go with its last child).
int LiveChildren(const TSubTotalRow* Row) {
  int n = 0;
  for (int i = 0; i < Row->ChildCount() && n < 2; ++i)
    if (Row->Child(i) != nullptr) ++n;
  return n;
}

bool HasVisibleBelow(const TSubTotalRow* Row) {
  for (int i = 0; i < Row->ChildCount(); ++i) {
    const TAbstractRow* child = Row->Child(i);
    if (child == nullptr) continue;
    if (child->Visible()) return true;
    if (child->IsSubTotal() && HasVisibleBelow(static_cast<const TSubTotalRow*>(child)))
      return true;
  }
  return false;
}

// Which entries of Positions (-1: none) form a longest increasing run
// (those rows keep their place; the others are removed and inserted).
std::vector<bool> LongestIncreasing(const std::vector<int>& Positions) {
  const int n = static_cast<int>(Positions.size());
  std::vector<int> tails;  // index into Positions of the smallest tail per length
  std::vector<int> before(static_cast<size_t>(n), -1);
  for (int k = 0; k < n; ++k) {
    const int p = Positions[static_cast<size_t>(k)];
    if (p < 0) continue;
    auto at = std::lower_bound(tails.begin(), tails.end(), p, [&](int t, int value) {
      return Positions[static_cast<size_t>(t)] < value;
    });
    if (at != tails.begin()) before[static_cast<size_t>(k)] = *(at - 1);
    if (at == tails.end()) {
      tails.push_back(k);
    } else {
      *at = k;
    }
  }
  std::vector<bool> keep(static_cast<size_t>(n), false);
  for (int k = tails.empty() ? -1 : tails.back(); k >= 0; k = before[static_cast<size_t>(k)])
    keep[static_cast<size_t>(k)] = true;
  return keep;
}

}  // namespace

// ------------------------------------------------------------------ notes

int TRowStorageModel::NodeAbove(const TAbstractRow* Row) const {
  for (const TSubTotalRow* up = Row->Parent(); up != nullptr; up = up->Parent()) {
    auto found = FTree.NodeOf.find(up);
    if (found != FTree.NodeOf.end()) return found->second;
  }
  return -1;
}

void TRowStorageModel::NoteValuesAbove(const TAbstractRow* Row) {
  const TSubTotalRow* parent = Row->Parent();
  if (parent == nullptr || parent == FLastValueParent) return;
  FLastValueParent = parent;
  for (const TSubTotalRow* up = parent; up != nullptr; up = up->Parent()) {
    auto found = FTree.NodeOf.find(up);
    if (found != FTree.NodeOf.end()) FChanged.insert(found->second);
  }
}

void TRowStorageModel::NoteStructure(TAbstractRow& Row) {
  if (FResetPending) return;
  // The flat view is sorted by the storage's unstable sort: a fresh model
  // could not be matched row by row.
  if (FStorage.FlatMode()) {
    NoteReset();
    return;
  }
  if (auto own = FTree.NodeOf.find(&Row); own != FTree.NodeOf.end())
    FDirty.insert(FTree.Nodes[static_cast<size_t>(own->second)].Parent);
  const TSubTotalRow* parent = Row.Parent();
  if (parent != nullptr && parent == FLastStructureParent) return;
  FLastStructureParent = parent;
  FDirty.insert(NodeAbove(&Row));
}

void TRowStorageModel::NoteInserted(TAbstractRow& Row) {
  NoteStructure(Row);
  if (!FResetPending) NoteValuesAbove(&Row);
}

void TRowStorageModel::NoteRemoving(TAbstractRow& Row) {
  // Sent again for a row the storage already took out: its parents may be
  // gone by now, and the first note did the work.
  if (auto* data = dynamic_cast<dataframework::TDataRow*>(&Row); data != nullptr && !data->InTree())
    return;
  if (FResetPending) return;
  if (FStorage.FlatMode()) {
    NoteReset();
    return;
  }
  // The subtotal rows that the removal empties may be freed with it.
  TAbstractRow* top = &Row;
  while (top->Parent() != nullptr && top->Parent()->Parent() != nullptr &&
         LiveChildren(top->Parent()) <= 1)
    top = top->Parent();
  // Nodes of rows that may be freed forget them now: a later row may be
  // made at the same address.
  if (!FTree.NodeOf.empty()) {
    auto forget = [this](auto& self, const TAbstractRow* Below) -> void {
      if (auto found = FTree.NodeOf.find(Below); found != FTree.NodeOf.end()) {
        FTree.Nodes[static_cast<size_t>(found->second)].Row = nullptr;
        FTree.NodeOf.erase(found);
      }
      if (!Below->IsSubTotal()) return;
      const auto* subTotal = static_cast<const TSubTotalRow*>(Below);
      for (int i = 0; i < subTotal->ChildCount(); ++i)
        if (const TAbstractRow* child = subTotal->Child(i)) self(self, child);
    };
    forget(forget, top);
  }
  FLastStructureParent = nullptr;
  FLastValueParent = nullptr;
  FDirty.insert(NodeAbove(top));
  NoteValuesAbove(top);
}

void TRowStorageModel::NoteValues(TAbstractRow& Row) {
  if (FResetPending) return;
  if (auto own = FTree.NodeOf.find(&Row); own != FTree.NodeOf.end()) FChanged.insert(own->second);
  NoteValuesAbove(&Row);
  // A level sorted by another field than its key may put the row, or a
  // group above it, in another place among its siblings.
  if (!FStorage.CheckTreeOrder()) return;
  TAbstractRow* child = &Row;
  for (TSubTotalRow* up = Row.Parent(); up != nullptr && !FResetPending;
       child = up, up = up->Parent()) {
    const dataframework::TRowStorageTreeKey& level = FStorage.GetTreeKey(up->LevelIndex());
    if (level.SortField() != nullptr && level.SortField() != level.Field()) NoteStructure(*child);
  }
}

void TRowStorageModel::NoteReset() {
  FResetPending = true;
  FDirty.clear();
  FChanged.clear();
}

// ------------------------------------------------------------------ fresh shape

bool TRowStorageModel::IsNodeNow(const TAbstractRow* Row) const {
  if (Row->Visible() || FStorage.IsLooseRow(Row)) return true;
  if (!Row->IsSubTotal()) return false;
  const auto* subTotal = static_cast<const TSubTotalRow*>(Row);
  // A hidden group of a shown level is an expanded node while it has rows
  // shown below it.
  return FStorage.GetTreeKey(subTotal->LevelIndex()).Visible() && HasVisibleBelow(subTotal);
}

void TRowStorageModel::CollectNodes(TAbstractRow* Row, std::vector<TAbstractRow*>& Rows) const {
  if (IsNodeNow(Row)) {
    Rows.push_back(Row);
    return;
  }
  if (!Row->IsSubTotal()) return;
  const auto* subTotal = static_cast<const TSubTotalRow*>(Row);
  std::vector<int> order;
  subTotal->ViewOrder(FStorage.CheckTreeOrder(), order);
  for (int i : order) CollectNodes(subTotal->Child(i), Rows);
}

void TRowStorageModel::ChildrenNow(int Parent, std::vector<TAbstractRow*>& Rows) const {
  Rows.clear();
  if (Parent < 0) {
    for (int i = 0; i < FStorage.LooseRowCount(); ++i) Rows.push_back(FStorage.LooseRow(i));
    if (TSubTotalRow* root = FStorage.Root()) CollectNodes(root, Rows);
    return;
  }
  const TAbstractRow* row = FTree.Nodes[static_cast<size_t>(Parent)].Row;
  if (row == nullptr || !row->IsSubTotal()) return;
  const auto* subTotal = static_cast<const TSubTotalRow*>(row);
  std::vector<int> order;
  subTotal->ViewOrder(FStorage.CheckTreeOrder(), order);
  for (int i : order) CollectNodes(subTotal->Child(i), Rows);
}

// ------------------------------------------------------------------ nodes

std::vector<int>& TRowStorageModel::ChildrenOf(int Parent) {
  return Parent < 0 ? FTree.TopLevel : FTree.Nodes[static_cast<size_t>(Parent)].Children;
}

QModelIndex TRowStorageModel::IndexOfNode(int Id) const {
  if (Id < 0) return QModelIndex();
  return createIndex(FTree.Nodes[static_cast<size_t>(Id)].Position, 0, static_cast<quintptr>(Id));
}

int TRowStorageModel::DepthOf(int Id) const {
  int depth = 0;
  for (; Id >= 0; Id = FTree.Nodes[static_cast<size_t>(Id)].Parent) ++depth;
  return depth;
}

int TRowStorageModel::NewNode(TAbstractRow* Row, int Parent) {
  int id;
  if (!FTree.FreeNodes.empty()) {
    id = FTree.FreeNodes.back();
    FTree.FreeNodes.pop_back();
  } else {
    id = static_cast<int>(FTree.Nodes.size());
    FTree.Nodes.emplace_back();
  }
  TNode& node = FTree.Nodes[static_cast<size_t>(id)];
  node.Row = Row;
  node.Parent = Parent;
  node.Position = 0;
  node.Children.clear();
  node.Used = true;
  FTree.NodeOf[Row] = id;
  return id;
}

void TRowStorageModel::FreeSubtree(int Id) {
  TNode& node = FTree.Nodes[static_cast<size_t>(Id)];
  for (int child : node.Children) FreeSubtree(child);
  if (node.Row != nullptr) {
    auto found = FTree.NodeOf.find(node.Row);
    if (found != FTree.NodeOf.end() && found->second == Id) FTree.NodeOf.erase(found);
  }
  node.Row = nullptr;
  node.Children.clear();
  node.Used = false;
  FTree.FreeNodes.push_back(Id);
}

void TRowStorageModel::RemoveRun(int Parent, int First, int Last) {
  beginRemoveRows(IndexOfNode(Parent), First, Last);
  std::vector<int>& siblings = ChildrenOf(Parent);
  for (int k = First; k <= Last; ++k) FreeSubtree(siblings[static_cast<size_t>(k)]);
  siblings.erase(siblings.begin() + First, siblings.begin() + Last + 1);
  for (size_t k = static_cast<size_t>(First); k < siblings.size(); ++k)
    FTree.Nodes[static_cast<size_t>(siblings[k])].Position = static_cast<int>(k);
  endRemoveRows();
}

void TRowStorageModel::RemoveNode(int Id) {
  const TNode& node = FTree.Nodes[static_cast<size_t>(Id)];
  const int position = node.Position;
  RemoveRun(node.Parent, position, position);
}

void TRowStorageModel::InsertRun(int Parent, int Position, const std::vector<TAbstractRow*>& Rows) {
  if (Rows.empty()) return;
  // The new nodes with everything below them, planned before any signal
  // (reading the storage may raise).
  std::vector<TPlanned> plan;
  plan.reserve(Rows.size());
  for (TAbstractRow* row : Rows) plan.push_back({row, -1});
  std::vector<TAbstractRow*> below;
  for (size_t k = 0; k < plan.size(); ++k) {
    TAbstractRow* row = plan[k].Row;
    if (!row->IsSubTotal()) continue;
    below.clear();
    const auto* subTotal = static_cast<const TSubTotalRow*>(row);
    std::vector<int> order;
    subTotal->ViewOrder(FStorage.CheckTreeOrder(), order);
    for (int i : order) CollectNodes(subTotal->Child(i), below);
    for (TAbstractRow* child : below) plan.push_back({child, static_cast<int>(k)});
  }
  // A row that is a node elsewhere (it moved, or its old parent stopped
  // being a node) leaves its old place first.
  for (const TPlanned& planned : plan) {
    if (auto found = FTree.NodeOf.find(planned.Row); found != FTree.NodeOf.end())
      RemoveNode(found->second);
  }
  const int count = static_cast<int>(Rows.size());
  beginInsertRows(IndexOfNode(Parent), Position, Position + count - 1);
  std::vector<int> ids(plan.size());
  for (size_t k = 0; k < plan.size(); ++k) {
    const int parent = plan[k].Parent < 0 ? Parent : ids[static_cast<size_t>(plan[k].Parent)];
    ids[k] = NewNode(plan[k].Row, parent);
    if (plan[k].Parent >= 0) {
      std::vector<int>& siblings = FTree.Nodes[static_cast<size_t>(parent)].Children;
      FTree.Nodes[static_cast<size_t>(ids[k])].Position = static_cast<int>(siblings.size());
      siblings.push_back(ids[k]);
    }
  }
  std::vector<int>& siblings = ChildrenOf(Parent);
  siblings.insert(siblings.begin() + Position, ids.begin(), ids.begin() + count);
  for (size_t k = static_cast<size_t>(Position); k < siblings.size(); ++k)
    FTree.Nodes[static_cast<size_t>(siblings[k])].Position = static_cast<int>(k);
  endInsertRows();
}

// ------------------------------------------------------------------ sync

void TRowStorageModel::SyncChildren(int Parent) {
  if (Parent >= 0) {
    const TNode& node = FTree.Nodes[static_cast<size_t>(Parent)];
    // A node that is no node any more goes with its parent's sync.
    if (node.Row == nullptr || !IsNodeNow(node.Row)) {
      SyncChildren(node.Parent);
      return;
    }
  }
  std::vector<TAbstractRow*> now;
  ChildrenNow(Parent, now);
  std::unordered_map<const TAbstractRow*, int> at;
  at.reserve(now.size());
  for (size_t i = 0; i < now.size(); ++i) at.emplace(now[i], static_cast<int>(i));

  const std::vector<int>& old = ChildrenOf(Parent);
  std::vector<int> positions(old.size(), -1);
  for (size_t k = 0; k < old.size(); ++k) {
    const TAbstractRow* row = FTree.Nodes[static_cast<size_t>(old[k])].Row;
    if (row == nullptr) continue;
    if (auto found = at.find(row); found != at.end()) positions[k] = found->second;
  }
  const std::vector<bool> keep = LongestIncreasing(positions);
  for (int k = static_cast<int>(keep.size()) - 1; k >= 0;) {
    if (keep[static_cast<size_t>(k)]) {
      --k;
      continue;
    }
    const int last = k;
    while (k >= 0 && !keep[static_cast<size_t>(k)]) --k;
    RemoveRun(Parent, k + 1, last);
  }

  size_t i = 0;  // position among the model's children
  size_t j = 0;  // position in now
  std::vector<TAbstractRow*> run;
  while (j < now.size()) {
    const std::vector<int>& current = ChildrenOf(Parent);
    const TAbstractRow* kept =
        i < current.size() ? FTree.Nodes[static_cast<size_t>(current[i])].Row : nullptr;
    if (kept == now[j]) {
      ++i;
      ++j;
      continue;
    }
    run.clear();
    while (j < now.size() && now[j] != kept) run.push_back(now[j++]);
    InsertRun(Parent, static_cast<int>(i), run);
    i += run.size();
  }
}

void TRowStorageModel::EmitValueChanges() {
  const int last = columnCount() - 1;
  if (FChanged.empty() || last < 0) {
    FChanged.clear();
    return;
  }
  // One signal per parent, over the rows from the first to the last changed.
  std::unordered_map<int, std::pair<int, int>> ranges;
  for (int id : FChanged) {
    if (id < 0 || static_cast<size_t>(id) >= FTree.Nodes.size()) continue;
    const TNode& node = FTree.Nodes[static_cast<size_t>(id)];
    if (!node.Used || node.Row == nullptr) continue;
    auto [at, made] = ranges.try_emplace(node.Parent, node.Position, node.Position);
    if (!made) {
      at->second.first = std::min(at->second.first, node.Position);
      at->second.second = std::max(at->second.second, node.Position);
    }
  }
  FChanged.clear();
  for (const auto& [parent, range] : ranges) {
    const QModelIndex up = IndexOfNode(parent);
    emit dataChanged(index(range.first, 0, up), index(range.second, last, up));
  }
}

void TRowStorageModel::ResetNow() {
  beginResetModel();
  Rebuild();
  endResetModel();
}

void TRowStorageModel::SyncOnce() {
  if (FResetPending) {
    ResetNow();
    return;
  }
  FLastValueParent = nullptr;
  FLastStructureParent = nullptr;
  if (!FDirty.empty()) {
    std::vector<std::pair<int, int>> order;  // (depth, node), parents first
    order.reserve(FDirty.size());
    for (int id : FDirty) order.emplace_back(DepthOf(id), id);
    FDirty.clear();
    std::sort(order.begin(), order.end());
    for (const auto& [depth, id] : order) {
      if (id >= 0 && !FTree.Nodes[static_cast<size_t>(id)].Used) continue;
      SyncChildren(id);
    }
  }
  EmitValueChanges();
  FLastValueParent = nullptr;
  FLastStructureParent = nullptr;
}

void TRowStorageModel::Sync() {
  // A view's slot may change the storage again while the model signals:
  // that sync runs when this one is done.
  if (FSyncing) {
    FSyncAgain = true;
    return;
  }
  FSyncing = true;
  do {
    FSyncAgain = false;
    try {
      SyncOnce();
    } catch (const std::exception& e) {
      // The storage could not answer the new shape: start over.
      FLastMessage = e.what();
      ResetNow();
    }
  } while (FSyncAgain || FResetPending || !FDirty.empty() || !FChanged.empty());
  FSyncing = false;
}

}  // namespace dataframework::qt
