<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AddTextDialog</name>
    <message>
        <source>Add text</source>
        <translation>文字の追加</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>文字</translation>
    </message>
    <message>
        <source>The text of the new item: at most %1 bytes in its character set, one or two bytes a character</source>
        <translation>新しい項目の文字: 文字セットで%1バイトまで (1文字1バイトまたは2バイト)</translation>
    </message>
    <message>
        <source>Character set in which the text is stored; it decides which characters the text can hold</source>
        <translation>文字を保存する文字セット。使える文字はこれで決まります</translation>
    </message>
    <message>
        <source>Add the text to the page</source>
        <translation>ページに文字を追加します</translation>
    </message>
    <message>
        <source>Close without adding a text</source>
        <translation>文字を追加せずに閉じます</translation>
    </message>
    <message>
        <source>&amp;Text (at most %1 bytes):</source>
        <translation>文字(&amp;T) (%1バイトまで):</translation>
    </message>
    <message>
        <source>&amp;Character set:</source>
        <translation>文字セット(&amp;C):</translation>
    </message>
</context>
<context>
    <name>EditorCanvas</name>
    <message>
        <source>The page cannot be composed.</source>
        <translation>ページを合成できません。</translation>
    </message>
    <message>
        <source>The page as it prints. Click an item to select it, drag it to move it, drag its corner square to resize it; the arrow keys move the selected item, and pictures dropped here are added</source>
        <translation>印刷されるとおりのページ。項目をクリックして選択、ドラッグして移動、角の四角をドラッグして大きさを変えます。矢印キーで選択した項目を動かし、ここにドロップした画像は追加されます</translation>
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
        <source>Text colour</source>
        <translation>文字の色</translation>
    </message>
    <message>
        <source>Width of the page in dots</source>
        <translation>ページの幅 (ドット)</translation>
    </message>
    <message>
        <source>Height of the page in dots</source>
        <translation>ページの高さ (ドット)</translation>
    </message>
    <message>
        <source>Left edge of the selected item on the page, in dots</source>
        <translation>選択した項目の左端の位置 (ドット)</translation>
    </message>
    <message>
        <source>Top edge of the selected item on the page, in dots</source>
        <translation>選択した項目の上端の位置 (ドット)</translation>
    </message>
    <message>
        <source>Width of the selected item in dots; a text keeps its proportions</source>
        <translation>選択した項目の幅 (ドット)。文字は縦横比を保ちます</translation>
    </message>
    <message>
        <source>Height of the selected item in dots; a text&apos;s size follows it</source>
        <translation>選択した項目の高さ (ドット)。文字のサイズはこれに従います</translation>
    </message>
    <message>
        <source>The text of the item; the change applies when you press Enter or leave the field</source>
        <translation>項目の文字。Enterを押すか欄を離れると変更が反映されます</translation>
    </message>
    <message>
        <source>Font of the text</source>
        <translation>文字のフォント</translation>
    </message>
    <message>
        <source>Character height in pixels</source>
        <translation>文字の高さ (ピクセル)</translation>
    </message>
    <message>
        <source>Draw the text in bold</source>
        <translation>文字を太字で描きます</translation>
    </message>
    <message>
        <source>Draw the text slanted</source>
        <translation>文字を斜体で描きます</translation>
    </message>
    <message>
        <source>Underline the text</source>
        <translation>文字に下線を引きます</translation>
    </message>
    <message>
        <source>Draw a line through the text</source>
        <translation>文字に取り消し線を引きます</translation>
    </message>
    <message>
        <source>Turn of the text in degrees, counter-clockwise</source>
        <translation>文字の回転 (度、反時計回り)</translation>
    </message>
    <message>
        <source>Character set in which the text is stored; it decides which characters the text can hold</source>
        <translation>文字を保存する文字セット。使える文字はこれで決まります</translation>
    </message>
    <message>
        <source>Colour of the text; click to choose another</source>
        <translation>文字の色。クリックすると別の色を選べます</translation>
    </message>
    <message>
        <source>Let the white of the image show what lies below it</source>
        <translation>画像の白い部分から下にあるものが見えるようにします</translation>
    </message>
</context>
<context>
    <name>EditorText</name>
    <message>
        <source>Western</source>
        <translation>欧文</translation>
    </message>
    <message>
        <source>Japanese (Shift-JIS)</source>
        <translation>日本語 (シフトJIS)</translation>
    </message>
    <message>
        <source>Korean</source>
        <translation>韓国語</translation>
    </message>
    <message>
        <source>Simplified Chinese (GBK)</source>
        <translation>簡体字中国語 (GBK)</translation>
    </message>
    <message>
        <source>Traditional Chinese (Big5)</source>
        <translation>繁体字中国語 (Big5)</translation>
    </message>
    <message>
        <source>The text holds a character that cannot be stored.</source>
        <translation>保存できない文字が含まれています。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no code in the character set %2. Choose the character set of the text&apos;s language.</source>
        <translation>&quot;%1&quot; は文字セット %2 にありません。文字の言語の文字セットを選んでください。</translation>
    </message>
    <message>
        <source>The text does not fit: it takes %1 bytes in the character set %2, and a text holds at most %3.</source>
        <translation>文字が長すぎます: 文字セット %2 で%1バイトになりますが、%3バイトまでです。</translation>
    </message>
    <message>
        <source>The size, turn or colour of the text is out of range.</source>
        <translation>文字のサイズ、回転、色のいずれかが範囲外です。</translation>
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
        <source>&quot;%1&quot; is not a regular file. Save the logo under another name.</source>
        <translation>&quot;%1&quot; は通常のファイルではありません。別の名前でロゴを保存してください。</translation>
    </message>
    <message>
        <source>The logo could not be written to &quot;%1&quot;.</source>
        <translation>ロゴを &quot;%1&quot; に書き込めませんでした。</translation>
    </message>
    <message>
        <source>Save the logo to its file</source>
        <translation>ロゴをそのファイルに保存します</translation>
    </message>
    <message>
        <source>Save the logo to a file of another name</source>
        <translation>ロゴを別の名前のファイルに保存します</translation>
    </message>
    <message>
        <source>Close the editor, asking first about unsaved changes</source>
        <translation>エディタを閉じます。保存していない変更があれば先に確認します</translation>
    </message>
    <message>
        <source>Take back the last change</source>
        <translation>最後の変更を取り消します</translation>
    </message>
    <message>
        <source>Make the change taken back again</source>
        <translation>取り消した変更をやり直します</translation>
    </message>
    <message>
        <source>Remove the selected item from the page</source>
        <translation>選択した項目をページから削除します</translation>
    </message>
    <message>
        <source>Add a text item to the page</source>
        <translation>ページに文字の項目を追加します</translation>
    </message>
    <message>
        <source>Add a picture from a file to the page</source>
        <translation>ファイルの画像をページに追加します</translation>
    </message>
    <message>
        <source>Draw the selected item over the next one</source>
        <translation>選択した項目を次の項目の前面に描きます</translation>
    </message>
    <message>
        <source>Draw the selected item under the one before</source>
        <translation>選択した項目を前の項目の背面に描きます</translation>
    </message>
    <message>
        <source>Show the page larger</source>
        <translation>ページを拡大して表示します</translation>
    </message>
    <message>
        <source>Show the page smaller</source>
        <translation>ページを縮小して表示します</translation>
    </message>
    <message>
        <source>Show the page one screen pixel a dot</source>
        <translation>ページを1ドット1画素で表示します</translation>
    </message>
</context>
</TS>
