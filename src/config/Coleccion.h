#pragma once
#include "platform/VbError.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>

// An ordered collection of shared items, read from position 1, with optional text keys that
// are unique without regard to case. The reference lists are replaced wholesale on reload, so
// a holder of the old collection keeps the old items.
template <typename T>
class Coleccion {
public:
    using Item = std::shared_ptr<T>;

private:
    struct Entry {
        Item item;
        QString key;
    };

public:

    static constexpr qint32 ErrClaveDuplicada = 457;
    static constexpr qint32 ErrFueraDeIntervalo = 9;
    static constexpr qint32 ErrArgumento = 5;

    // Appends the item; a key already present (in any case) raises error 457 and adds nothing.
    void Add(Item item, const QString& key = QString())
    {
        if (!key.isEmpty()) {
            const QString k = fold(key);
            if (m_keys.contains(k))
                throw VbError(ErrClaveDuplicada, QStringLiteral("Coleccion"),
                              QStringLiteral("Esta clave ya está asociada a un elemento de esta colección"));
            m_keys.insert(k, item);
        }
        m_items.append(Entry{std::move(item), key});
    }

    // Appends the item under `key` when no item has that key yet, else without a key (then it
    // is reached only by position); true when it took the key. One lookup where Contains and
    // Add would make three, for loads of many thousand rows.
    bool AddConClaveLibre(Item item, const QString& key)
    {
        if (key.isEmpty()) {
            m_items.append(Entry{std::move(item), QString()});
            return false;
        }
        const qsizetype antes = m_keys.size();
        Item& lugar = m_keys[fold(key)];
        if (m_keys.size() == antes) {
            m_items.append(Entry{std::move(item), QString()});
            return false;
        }
        lugar = item;
        m_items.append(Entry{std::move(item), key});
        return true;
    }

    int Count() const { return m_items.size(); }
    bool isEmpty() const { return m_items.isEmpty(); }

    // 1-based; error 9 outside 1..Count.
    const Item& Item_(int index) const
    {
        if (index < 1 || index > m_items.size())
            throw VbError(ErrFueraDeIntervalo, QStringLiteral("Coleccion"),
                          QStringLiteral("El subíndice está fuera del intervalo"));
        return m_items[index - 1].item;
    }
    const Item& operator()(int index) const { return Item_(index); }

    // By key, without regard to case; error 5 when no item has that key.
    Item Item_(const QString& key) const
    {
        const auto it = key.isEmpty() ? m_keys.constEnd() : m_keys.constFind(fold(key));
        if (it == m_keys.constEnd())
            throw VbError(ErrArgumento, QStringLiteral("Coleccion"),
                          QStringLiteral("Llamada a procedimiento o argumento no válido"));
        return it.value();
    }
    Item operator()(const QString& key) const { return Item_(key); }

    bool Contains(const QString& key) const { return !key.isEmpty() && m_keys.contains(fold(key)); }
    // The key the item was added with ("" when none), 1-based.
    QString Key(int index) const
    {
        Item_(index);
        return m_items[index - 1].key;
    }

    void Remove(int index)
    {
        Item_(index);
        const Entry& e = m_items[index - 1];
        if (!e.key.isEmpty()) m_keys.remove(fold(e.key));
        m_items.removeAt(index - 1);
    }
    void Remove(const QString& key)
    {
        const int i = indexOf(key);
        if (i < 0)
            throw VbError(ErrArgumento, QStringLiteral("Coleccion"),
                          QStringLiteral("Llamada a procedimiento o argumento no válido"));
        Remove(i + 1);
    }

    // Range-for over the items, in order.
    class const_iterator {
    public:
        explicit const_iterator(typename QList<Entry>::const_iterator it) : m_it(it) {}
        const Item& operator*() const { return m_it->item; }
        const_iterator& operator++() { ++m_it; return *this; }
        bool operator!=(const const_iterator& o) const { return m_it != o.m_it; }
        bool operator==(const const_iterator& o) const { return m_it == o.m_it; }

    private:
        typename QList<Entry>::const_iterator m_it;
    };
    const_iterator begin() const { return const_iterator(m_items.cbegin()); }
    const_iterator end() const { return const_iterator(m_items.cend()); }

private:
    static QString fold(const QString& key) { return key.toCaseFolded(); }
    int indexOf(const QString& key) const
    {
        if (key.isEmpty()) return -1;
        const QString k = fold(key);
        if (!m_keys.contains(k)) return -1;
        for (int i = 0; i < m_items.size(); ++i)
            if (!m_items[i].key.isEmpty() && fold(m_items[i].key) == k) return i;
        return -1;
    }

    QList<Entry> m_items;
    QHash<QString, Item> m_keys; // folded key to item
};
