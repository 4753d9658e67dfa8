<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>EditorCanvas</name>
    <message>
        <source>The page cannot be composed.</source>
        <translation>ページを合成できません。</translation>
    </message>
</context>
<context>
    <name>EditorPanel</name>
    <message>
        <source>Page</source>
        <translation>ページ</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>幅</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>高さ</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>項目</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>左</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>上</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>太字</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>斜体</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>下線</translation>
    </message>
    <message>
        <source>Strike-out</source>
        <translation>取り消し線</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>フォント</translation>
    </message>
    <message>
        <source>Size (pixels)</source>
        <translation>サイズ (ピクセル)</translation>
    </message>
    <message>
        <source>Rotation (degrees)</source>
        <translation>回転 (度)</translation>
    </message>
    <message>
        <source>Character set</source>
        <translation>文字セット</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>色</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>画像</translation>
    </message>
    <message>
        <source>Transparent (white shows what lies below)</source>
        <translation>透過 (白の部分は下が見える)</translation>
    </message>
    <message>
        <source>The composition cannot draw a page of that size.</source>
        <translation>その大きさのページは描けません。</translation>
    </message>
    <message>
        <source>The text does not fit: at most %1 bytes, in characters of the chosen character set.</source>
        <translation>文字が長すぎます: 選んだ文字セットの文字で%1バイトまでです。</translation>
    </message>
    <message>
        <source>Text colour</source>
        <translation>文字の色</translation>
    </message>
</context>
<context>
    <name>EditorWindow</name>
    <message>
        <source>Properties</source>
        <translation>プロパティ</translation>
    </message>
    <message>
        <source>Drag an item to move it, its corner square to resize it.</source>
        <translation>項目をドラッグして移動、角の四角をドラッグして大きさを変えます。</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>上書き保存(&amp;S)</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>名前を付けて保存(&amp;A)...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>やり直し(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>削除(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>挿入(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Text...</source>
        <translation>文字(&amp;T)...</translation>
    </message>
    <message>
        <source>&amp;Image...</source>
        <translation>画像(&amp;I)...</translation>
    </message>
    <message>
        <source>&amp;Arrange</source>
        <translation>配置(&amp;A)</translation>
    </message>
    <message>
        <source>Bring &amp;Forward</source>
        <translation>前面へ(&amp;F)</translation>
    </message>
    <message>
        <source>Send &amp;Backward</source>
        <translation>背面へ(&amp;B)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>拡大(&amp;I)</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>縮小(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>実際のサイズ(&amp;A)</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>コマンド</translation>
    </message>
    <message>
        <source>Add text</source>
        <translation>文字の追加</translation>
    </message>
    <message>
        <source>Text (at most %1 bytes):</source>
        <translation>文字 (%1バイトまで):</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>The text does not fit: at most %1 bytes.</source>
        <translation>文字が長すぎます: %1バイトまでです。</translation>
    </message>
    <message>
        <source>Add image</source>
        <translation>画像の追加</translation>
    </message>
    <message>
        <source>Pictures (%1);;All files (*)</source>
        <translation>画像 (%1);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be read as a bitmap, RLE, JPEG, PNG, GIF or SVG picture.</source>
        <translation>&quot;%1&quot; はビットマップ、RLE、JPEG、PNG、GIF、SVGの画像として読み込めません。</translation>
    </message>
    <message>
        <source>Save logo</source>
        <translation>ロゴの保存</translation>
    </message>
    <message>
        <source>Logo documents (*.qlf *.QLF)</source>
        <translation>ロゴ文書 (*.qlf *.QLF)</translation>
    </message>
    <message>
        <source>a new logo document</source>
        <translation>新しいロゴ文書</translation>
    </message>
    <message>
        <source>The logo has changed. Save the changes to %1?</source>
        <translation>ロゴが変更されています。%1 に変更を保存しますか?</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>無題</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>&quot;%1&quot; cannot be read.</source>
        <translation>&quot;%1&quot; を読み込めません。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a logo document.</source>
        <translation>&quot;%1&quot; はロゴ文書ではありません。</translation>
    </message>
    <message>
        <source>The logo has no items. Add a text or an image before saving it.</source>
        <translation>ロゴに項目がありません。保存する前に文字か画像を追加してください。</translation>
    </message>
    <message>
        <source>The logo cannot be stored: its page or its pictures are too large.</source>
        <translation>ロゴを保存できません: ページか画像が大きすぎます。</translation>
    </message>
    <message>
        <source>The logo could not be written to &quot;%1&quot;.</source>
        <translation>ロゴを &quot;%1&quot; に書き込めませんでした。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a regular file. Save the logo under another name.</source>
        <translation>&quot;%1&quot; は通常のファイルではありません。別の名前でロゴを保存してください。</translation>
    </message>
</context>
</TS>
